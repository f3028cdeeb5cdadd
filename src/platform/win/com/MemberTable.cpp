#include "platform/win/com/MemberTable.h"

namespace com {

MemberTable& MemberTable::get(const wchar_t* name, Getter call) {
    members_.push_back({name, static_cast<DISPID>(members_.size() + 1), std::move(call)});
    return *this;
}

MemberTable& MemberTable::prop(const wchar_t* name, Getter call, Putter put) {
    members_.push_back({name, static_cast<DISPID>(members_.size() + 1), std::move(call),
                        [put = std::move(put)](Args& a) { put(a.value()); }});
    return *this;
}

} // namespace com
