#include "platform/vbide/ClassRegistry.h"

#include "platform/error.h"

#include <algorithm>
#include <cctype>

namespace vbide {

namespace {

bool sameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

[[noreturn]] void cantCreate() {
    throw vb::VBError(errCantCreateObject, "ActiveX component can't create object");
}

} // namespace

ClassRegistry& ClassRegistry::instance() {
    static ClassRegistry registry;
    return registry;
}

void ClassRegistry::registerClass(const std::string& progId, const std::string& clsid, ClassFactory factory) {
    unregisterClass(progId);
    entries_.push_back({progId, clsid, std::move(factory)});
}

void ClassRegistry::unregisterClass(const std::string& progId) {
    std::erase_if(entries_, [&](const Entry& e) { return sameName(e.progId, progId); });
}

bool ClassRegistry::isRegistered(const std::string& progIdOrClsid) const {
    return find(progIdOrClsid) != nullptr;
}

std::shared_ptr<vb::Object> ClassRegistry::create(const std::string& progIdOrClsid) const {
    const Entry* entry = find(progIdOrClsid);
    if (!entry || !entry->factory) {
        cantCreate();
    }
    // The factory may register or unregister classes itself, so it runs on a copy.
    ClassFactory factory = entry->factory;
    auto object = factory();
    if (!object) {
        cantCreate();
    }
    return object;
}

const ClassRegistry::Entry* ClassRegistry::find(const std::string& progIdOrClsid) const {
    if (progIdOrClsid.empty()) {
        return nullptr;
    }
    auto it = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) {
        return sameName(e.progId, progIdOrClsid) || (!e.clsid.empty() && sameName(e.clsid, progIdOrClsid));
    });
    return it == entries_.end() ? nullptr : &*it;
}

std::shared_ptr<vb::Object> CreateObject(const std::string& progId) {
    return ClassRegistry::instance().create(progId);
}

} // namespace vbide
