#include "platform/picker/FileReferencePath.h"

#include <cstring>

namespace PickerHost {

Status fileReferencePath(const FileReference &reference, uint8_t *buffer, uint32_t bufferSize)
{
    if (buffer && bufferSize > 0)
        buffer[0] = 0;
    const void *end = std::memchr(reference.bytes, 0, sizeof reference.bytes);
    if (!end)
        return FileReferenceInvalid;
    const size_t length = static_cast<const char *>(end) - reference.bytes;
    if (length == 0)
        return FileReferenceInvalid;
    if (!buffer || length + 1 > bufferSize)
        return PathBufferTooSmall;
    std::memcpy(buffer, reference.bytes, length + 1);
    return NoError;
}

} // namespace PickerHost
