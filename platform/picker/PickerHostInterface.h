#ifndef HUEFORM_PICKERHOSTINTERFACE_H
#define HUEFORM_PICKERHOSTINTERFACE_H

// The part of the host's colour-picker plug-in interface that this plug-in
// reads and writes, declared in our own words. The stand-in host in host/
// fills the same records, so both sides agree on the layout. Plain C types
// only: the host calls the entry through a C function pointer.

#include <cstdint>

namespace PickerHost {

// Status words of the host's routines: 0 is success, anything else failed.
using Status = int32_t;
constexpr Status NoError = 0;

// A four-character code packed big-end first, as the host compares them.
constexpr uint32_t fourCharCode(const char (&code)[5])
{
    return (uint32_t(uint8_t(code[0])) << 24) | (uint32_t(uint8_t(code[1])) << 16)
        | (uint32_t(uint8_t(code[2])) << 8) | uint32_t(uint8_t(code[3]));
}

// The signature of the host's own properties, and the key of its version.
constexpr uint32_t HostSignature = fourCharCode("8BIM");
constexpr uint32_t HostVersionKey = fourCharCode("vers");

// What the host asks for.
enum Selector : int16_t {
    SelectorAbout = 0,
    SelectorPick = 1
};

// The colour spaces of the picker block.
enum ColourSpace : int16_t {
    SpaceRgb = 0,
    SpaceHsb = 1,
    SpaceCmyk = 2,
    SpaceLab = 3,
    SpaceGray = 4
};

// The host's handle of one loaded plug-in; only the host looks inside.
struct PluginHandle;
using PluginRef = PluginHandle *;

// The suite broker. The host's record has further routines after these two;
// the plug-in calls none of them, so they are not declared.
struct BasicSuite {
    Status (*acquireSuite)(const char *name, int32_t version, const void **suite);
    Status (*releaseSuite)(const char *name, int32_t version);
};

// Where a file lives, as the host describes it. On Linux it holds the file's
// path as zero-terminated UTF-8 text; fileReferencePath() reads it.
struct FileReference {
    char bytes[1024];
};

// The plug-ins suite, version 5. Only the ninth routine is used: it fills in
// the file reference of the given plug-in.
constexpr const char *PluginsSuiteName = "SP Plug-ins Suite";
constexpr int32_t PluginsSuiteVersion = 5;
struct PluginsSuite {
    using UnusedRoutine = void (*)();
    UnusedRoutine firstEightRoutines[8];
    Status (*getPluginFileReference)(PluginRef plugin, FileReference *reference);
};

// The host's property suite. The simple value comes back pointer-sized.
using ComplexProperty = char **;
struct PropertySuite {
    int16_t routineCount;
    Status (*getProperty)(uint32_t signature, uint32_t key, int32_t index, intptr_t *simpleValue,
                          ComplexProperty *complexValue);
    Status (*setProperty)(uint32_t signature, uint32_t key, int32_t index, intptr_t simpleValue,
                          ComplexProperty complexValue);
};

// The parameter block of the about selector.
struct AboutRecord {
    BasicSuite *basicSuite;
    PluginRef plugin;
};

// The parameter block of the pick selector.
struct PickerParameters {
    PropertySuite *propertySuite;
    int16_t sourceSpace;           // a ColourSpace
    int16_t resultSpace;           // set to SpaceRgb when a colour is returned
    uint16_t components[4];        // the host's colour in, red, green, blue and 0 out
    const char *prompt;            // zero-terminated, in the local 8-bit encoding; may be null
    BasicSuite *basicSuite;
    PluginRef plugin;
};

// The entry the host looks up by this name and calls for every selector.
constexpr const char *EntryName = "PluginMain";
using Entry = void (*)(int16_t selector, void *parameterBlock, intptr_t *data, int16_t *result);

} // namespace PickerHost

#endif // HUEFORM_PICKERHOSTINTERFACE_H
