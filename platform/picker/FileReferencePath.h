#ifndef HUEFORM_FILEREFERENCEPATH_H
#define HUEFORM_FILEREFERENCEPATH_H

#include "platform/picker/PickerHostInterface.h"

namespace PickerHost {

constexpr Status FileReferenceInvalid = -43;
constexpr Status PathBufferTooSmall = -2110;

// Our stand-in for the platform's conversion of a file reference into a
// zero-terminated UTF-8 path. Fails on a reference without a terminator or
// with an empty path (a zero-filled reference is no file), and when the path
// and its terminator do not fit into the buffer; the buffer then holds an
// empty text when it has room for one.
Status fileReferencePath(const FileReference &reference, uint8_t *buffer, uint32_t bufferSize);

} // namespace PickerHost

#endif // HUEFORM_FILEREFERENCEPATH_H
