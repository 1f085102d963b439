#pragma once

#include <cstddef>
#include <string>

#include "common/Bytes.h"

namespace varnow {

// The SHA-1 of image bytes 16 to the end as 40 lower-case hexadecimal digits: what the board
// answers to "get id kofs hash" after storing the image.
std::string ImageHash(ByteView image);

// Whether the Base64 upload text of an image of `imageBytes` bytes, with its terminating NUL,
// fits the 5 MiB bulk buffer. The largest image that fits is 3741 KiB.
bool UploadTextFits(std::size_t imageBytes);

// The largest whole number of KiB whose upload text fits.
std::size_t MaxUploadImageKib();

}  // namespace varnow
