#pragma once

#include "importer/Model.h"
#include "shipfile/Bytes.h"

#include <filesystem>
#include <optional>
#include <string>

namespace importer {

/// Reads a glTF 2.0 model, binary (.glb) or JSON, from memory. Buffers outside the file are
/// read from `baseDirectory`; with an empty one (the fuzzer) none are. Pictures are never
/// decoded. Gives nothing and says why in `refusal` (what and where) when the file is damaged
/// or holds what an import cannot take: every index, count and number is checked first.
std::optional<Model> readGltf(shipfile::Bytes data, bool binary,
                              const std::filesystem::path& baseDirectory, std::string& refusal);

/// Replaces each "%s" or "%d" of `format` with the next of `values`.
std::string fill(std::string_view format, std::initializer_list<std::string> values);

} // namespace importer
