// Records the program exports for other modules of the product. Nothing in
// the monitor calls them; the export table is part of the program's binary
// interface.
#include "app/Exports.h"

#include "device/WLANDevice.h"

tagMinMaxChannel::tagMinMaxChannel() : lowest(0), highest(0) {}

tagMinMaxChannel& tagMinMaxChannel::operator=(const tagMinMaxChannel& other) {
    lowest = other.lowest;
    highest = other.highest;
    return *this;
}

tagCountryChannelInfo::tagCountryChannelInfo()
    : field0(0), field1(0), field2(0), field3(0), field4(0), field5(31), field6(0) {}

tagCountryChannelInfo& tagCountryChannelInfo::operator=(const tagCountryChannelInfo& other) {
    field0 = other.field0;
    field1 = other.field1;
    field2 = other.field2;
    field3 = other.field3;
    field4 = other.field4;
    field5 = other.field5;
    field6 = other.field6;
    return *this;
}

// CWLANDevice's copy-assignment is the implicit one, an inline function of
// every module; this program emits it and names it in its export table.
// Kept ("used") so that the compiler emits the function for the export.
__attribute__((used)) static CWLANDevice& (CWLANDevice::*const kDeviceAssign)(const CWLANDevice&) =
    &CWLANDevice::operator=;

// The export table names exactly these five (the complete-object
// constructors only; the compiler's base-object aliases stay private).
__asm__(".section .drectve\n\t"
        ".ascii \" -export:_ZN16tagMinMaxChannelC1Ev\"\n\t"
        ".ascii \" -export:_ZN16tagMinMaxChannelaSERKS_\"\n\t"
        ".ascii \" -export:_ZN21tagCountryChannelInfoC1Ev\"\n\t"
        ".ascii \" -export:_ZN21tagCountryChannelInfoaSERKS_\"\n\t"
        ".ascii \" -export:_ZN11CWLANDeviceaSERKS_\"\n\t"
        ".text");
