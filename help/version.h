#pragma once
// The program's version, as the version dialog and the command line show it.
inline constexpr char kProgramName[] = "Kasumiro";
inline constexpr char kProgramVersion[] = "3.80";
