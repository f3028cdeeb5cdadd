#include "platform/vss/VSSItem.h"

#include "platform/win/com/Remote.h"
#include "platform/win/vss/adapters.h"

namespace vss::win {

namespace {

class ComVSSItem final : public VSSItem, public com::Remote {
public:
    using Remote::Remote;

    std::string Name() override { return object().get("Name").toString(); }
    std::string Spec() override { return object().get("Spec").toString(); }
    int32_t Type() override { return object().get("Type").toLong(); }
    std::shared_ptr<VSSItems> Items(bool includeDeleted) override {
        return adaptVSSItems(object().get("Items", {includeDeleted}).toObject());
    }
    std::shared_ptr<VSSItem> NewSubproject(const std::string& name, const std::string& comment) override {
        return adaptVSSItem(object().get("NewSubproject", {name, comment}).toObject());
    }
    std::shared_ptr<VSSItem> Add(const std::string& local, const std::string& comment, int32_t flags) override {
        return adaptVSSItem(object().get("Add", {local, comment, flags}).toObject());
    }
    void Checkout(const std::string& comment, const std::string& local, int32_t flags) override {
        object().call("Checkout", {comment, local, flags});
    }
    void Checkin(const std::string& comment, const std::string& local, int32_t flags) override {
        object().call("Checkin", {comment, local, flags});
    }
    int32_t IsCheckedOut() override { return object().get("IsCheckedOut").toLong(); }
};

} // namespace

std::shared_ptr<VSSItem> adaptVSSItem(const com::Dispatch& object) {
    return com::adapt<ComVSSItem, VSSItem>(object);
}

} // namespace vss::win
