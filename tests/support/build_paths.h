#pragma once

// Paths of this checkout and its build, defined for each program that uses them by the source
// that paylark_build_paths() generates; a program that uses one it was not given fails to link.

extern const char* const kPaylarkCliPath;
extern const char* const kPaylarkExecutable;
extern const char* const kLaunchFloorExecutable;
extern const char* const kBenchDataFolder;
extern const char* const kSourceFolder;
