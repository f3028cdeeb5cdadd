// How the IDE knows the add-in: its key among the IDE's add-ins (under HKEY_CURRENT_USER) and the
// name it shows. Both registrations use them: the in-memory one and the Windows COM server's.
#pragma once

namespace nimb::Registration {

inline constexpr char addInKey[] = "Software\\Microsoft\\Visual Basic\\6.0\\Addins\\nimbvbadd.Connect";
inline constexpr char addInDisplayName[] = "NIMB Development Add-In for Visual Basic";

} // namespace nimb::Registration
