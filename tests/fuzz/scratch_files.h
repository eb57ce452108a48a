#pragma once
// The readers under test take file paths: each fuzz input is written to files
// in a folder of the process's own, removed when the process ends.

#include <cstddef>
#include <cstdint>
#include <string>

namespace tessaly::fuzz {

// The folder, made on first use.
const std::string& ScratchFolder();

// Writes the bytes to `name` in the folder and gives its path.
std::string WriteScratchFile(const std::string& name, const std::uint8_t* data, std::size_t size);

}  // namespace tessaly::fuzz
