#pragma once

#include <optional>
#include <string>

#include "settings/SettingsStore.h"
#include "ui/Messenger.h"

namespace varnow {

inline constexpr std::uint32_t kEnvironmentMagic = 0x536E5665;  // "eVnS"
// The block and its Base64 text each live in a 65,536-byte buffer (the text with a NUL).
inline constexpr std::size_t kEnvironmentBufferSize = 65536;

// Decodes and checks the block the board sent as Base64 text. Shows message 148 itself for an
// empty text; every other failure only returns false (the caller reports it).
bool DecodeEnvironmentBlock(ByteView text, EnvironmentData& data, Messenger& messenger);
// The same for the block's bytes (a saved block, a block read back).
bool DecodeEnvironmentBytes(Bytes block, EnvironmentData& data);

// Patches the settings store's values back into the block copy at their places, recomputes
// the checksums of the records it knows and of the header, and returns the block to send (up
// to its end record). nullopt when a record is malformed or its text would not fit.
std::optional<Bytes> PatchEnvironmentBlock(EnvironmentData& data);
// The Base64 text of a block; nullopt when it would not fit its 64 KiB buffer with its NUL.
std::optional<std::string> EnvironmentText(ByteView block);
// Both: the text of the patched block.
std::optional<std::string> EncodeEnvironmentBlock(EnvironmentData& data);

}  // namespace varnow
