// MemberTable: builds the member table of a served object (DispatchServer), numbering the members
// in the order given.
//
//   com::MemberTable t;
//   t.get(L"Count", [](com::Args&) { return vb::Variant(int32_t{2}); })
//       .prop(L"Caption", getCaption, setCaption);
#pragma once

#include "platform/win/com/DispatchServer.h"

#include <functional>
#include <vector>

namespace com {

class MemberTable {
public:
    using Getter = std::function<vb::Variant(Args&)>;
    using Putter = std::function<void(const vb::Variant&)>;
    // A method, or a read-only property.
    MemberTable& get(const wchar_t* name, Getter call);
    // A read-write property.
    MemberTable& prop(const wchar_t* name, Getter call, Putter put);
    std::vector<Member> members() { return std::move(members_); }

private:
    std::vector<Member> members_;
};

} // namespace com
