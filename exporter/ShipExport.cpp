#include "exporter/ShipExport.h"

#include "exporter/GltfWriter.h"
#include "exporter/Messages.h"
#include "exporter/ObjWriter.h"
#include "exporter/OutputFiles.h"
#include "shipfile/CaseInsensitive.h"
#include "shipfile/MessageSink.h"

#include <algorithm>
#include <cctype>

namespace exporter {

namespace fs = std::filesystem;
namespace msg = exporter::messages;

std::optional<ExportFormat> exportFormatOf(const fs::path& path)
{
    const std::string extension = shipfile::lowerCase(path.extension().string());
    if (extension == ".glb")
        return ExportFormat::Glb;
    if (extension == ".gltf")
        return ExportFormat::Gltf;
    if (extension == ".obj")
        return ExportFormat::Obj;
    return std::nullopt;
}

std::optional<ExportSummary> exportShip(const shipfile::ShipFile& file, const fs::path& path,
                                        const ExportOptions& options, shipfile::MessageSink& sink)
{
    const auto fail = [&sink, &path] {
        sink.show(msg::ExportFailed.box(path.string()));
        return std::nullopt;
    };
    const std::optional<ExportFormat> format = exportFormatOf(path);
    if (!format || path.filename().empty())
        return fail();

    const ExportScene scene = buildScene(file, options);
    for (const shipfile::Message& warning : scene.warnings)
        sink.show(warning);

    std::error_code error;
    const fs::path destination = fs::absolute(path, error).parent_path();
    StagingDirectory staging(destination);
    if (error || !staging.valid())
        return fail();
    // The files beside the main one are named after it, in characters that need no escaping.
    const std::string stem = safeFileStem(path.stem().string());
    const std::string mainName = path.filename().string();

    std::optional<std::vector<std::string>> written;
    switch (*format) {
    case ExportFormat::Glb:
    case ExportFormat::Gltf: {
        written = writeGltf(scene, staging.path(), stem, *format == ExportFormat::Glb);
        // glTF writes its main file as stem + extension; it keeps the name the user chose.
        if (written && written->front() != mainName) {
            fs::rename(staging.path() / written->front(), staging.path() / mainName, error);
            written->front() = mainName;
        }
        break;
    }
    case ExportFormat::Obj:
        written = writeObj(scene, staging.path(), mainName, stem);
        break;
    }
    if (!written || error || !staging.moveInto(destination, *written))
        return fail();
    return ExportSummary{scene.components.size(), scene.triangleCount, scene.skippedFaces};
}

} // namespace exporter
