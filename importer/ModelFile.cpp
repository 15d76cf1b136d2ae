#include "importer/ModelFile.h"

#include "importer/GltfReader.h"
#include "importer/Messages.h"
#include "importer/ObjReader.h"
#include "shipfile/CaseInsensitive.h"
#include "shipfile/MessageSink.h"

#include <fstream>
#include <iterator>

namespace importer {

namespace fs = std::filesystem;
namespace msg = importer::messages;

shipfile::Message refusalMessage(const fs::path& path, const std::string& detail)
{
    shipfile::Message message = msg::ImportRefused.box(path.string());
    message.text = shipfile::messages::formatText(message.text, detail);
    return message;
}

std::optional<Model> readModelFile(const fs::path& path, shipfile::MessageSink& sink)
{
    const std::string extension = shipfile::lowerCase(path.extension().string());
    if (extension != ".glb" && extension != ".gltf" && extension != ".obj") {
        sink.show(refusalMessage(path, std::string(msg::UnknownFormat)));
        return std::nullopt;
    }
    std::error_code error;
    std::vector<std::uint8_t> bytes;
    if (fs::is_regular_file(path, error)) {
        std::ifstream in(path, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        if (in.bad())
            bytes.clear();
    }
    if (bytes.empty()) {
        sink.show(refusalMessage(path, std::string(msg::CannotRead)));
        return std::nullopt;
    }
    std::string refusal;
    std::optional<Model> model;
    if (extension == ".obj") {
        model = readObj(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                        refusal);
    } else {
        const fs::path directory = fs::absolute(path, error).parent_path();
        model = readGltf(bytes, extension == ".glb", directory, refusal);
    }
    if (!model)
        sink.show(refusalMessage(path, refusal));
    return model;
}

} // namespace importer
