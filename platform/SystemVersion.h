#pragma once
// The operating-system release as the settings know it. Linux answers as a
// release of 10.5 or later, so the default rename mechanism is 3.
namespace morvane::SystemVersion {

// The packed version number (0x1050 means 10.5.0).
unsigned packedVersion();
// True for release 10.5 and later (packed version greater than 0x104F).
bool isLeopard();

} // namespace morvane::SystemVersion
