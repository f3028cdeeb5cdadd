// The errors SourceSafe automation raises, as vb::VBError numbers: SourceSafe's own codes are
// HRESULTs of the interface facility (0x8004xxxx) over the negative status codes of its error list.
#pragma once

#include <cstdint>

namespace vss {

constexpr int32_t fromStatus(int16_t status) {
    return static_cast<int32_t>(0x80040000u | static_cast<uint16_t>(status));
}

// "An item with the name %s already exists" (NewSubproject of a name in use)
constexpr int32_t errItemExists = fromStatus(-10604);          // 0x8004D694, -2147166572
// "Cannot check out %s. It is already checked out." (Checkout of a checked-out file)
constexpr int32_t errAlreadyCheckedOut = fromStatus(-10280);   // 0x8004D7D8, -2147166248
// "File %s is not checked out" (Checkin of a file nobody checked out)
constexpr int32_t errNotCheckedOut = fromStatus(-10436);       // 0x8004D73C
// "File %s is currently checked out by %s" (Checkin of another user's checkout)
constexpr int32_t errCheckedOutByOther = fromStatus(-10413);   // 0x8004D753
// "Invalid password" (Open)
constexpr int32_t errBadPassword = fromStatus(-10551);         // 0x8004D6C9
// "User "%s" not found" (Open)
constexpr int32_t errUserNotFound = fromStatus(-10558);        // 0x8004D6C2
// "File "%s" not found" (Open of a srcsafe.ini where no database lies)
constexpr int32_t errIniNotFound = fromStatus(-10178);         // 0x8004D83E
// "Invalid SourceSafe syntax: "%s"" (a spec not starting with "$/")
constexpr int32_t errSpecSyntax = fromStatus(-10515);          // 0x8004D6ED
// "%s is an invalid %s name" (empty names, names holding '/' or '\')
constexpr int32_t errInvalidName = fromStatus(-10605);         // 0x8004D693
// "This command only works on projects." / "... on files."
constexpr int32_t errWantProject = fromStatus(-10617);         // 0x8004D687
constexpr int32_t errWantFile = fromStatus(-10616);            // 0x8004D688
// "Permission denied" (any use of a database that is not open)
constexpr int32_t errPermissionDenied = fromStatus(-10554);    // 0x8004D6C6
// Add of a file whose name the project holds already: the item collection's "Key is not unique".
constexpr int32_t errDuplicateFile = 35602;
// A spec naming no item raises the runtime's "File not found" (53): "File "$/p/f.sql" not found".
constexpr int32_t errItemNotFound = 53;

} // namespace vss
