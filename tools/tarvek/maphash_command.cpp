// tarvek maphash: the map hashes of a collision mask (PBM) or terrain image (PGM), computed by
// the module's routines over simulated host memory, to file ghosts by map without the game.
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <string>

#include "commands.h"
#include "tools/support/map_image_hash.h"
#include "tools/support/netpbm_image.h"

namespace tarvek::cli {
namespace {

using ImageParser = std::optional<tools::NetpbmImage> (*)(std::string_view);
using ImageHasher = std::optional<std::string> (*)(const tools::NetpbmImage&);

int hashImageFile(const std::string& path, ImageParser parse, ImageHasher hash, std::string_view kind) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::cerr << "tarvek: cannot open " << path << "\n";
        return kExitRejected;
    }
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const std::optional<tools::NetpbmImage> image = parse(bytes);
    if (!image) {
        std::cerr << "tarvek: " << path << " is not a binary " << kind << " image\n";
        return kExitRejected;
    }
    const std::optional<std::string> digest = hash(*image);
    if (!digest) {
        std::cerr << "tarvek: " << path << " (" << image->width << "x" << image->height
                  << ") is outside the map limits (sides 1 to 32768)\n";
        return kExitRejected;
    }
    std::cout << *digest << "\n";
    return kExitOk;
}

void addHashCommand(CLI::App& group, CommandContext& context, const std::string& name,
                    const std::string& help, ImageParser parse, ImageHasher hash, std::string kind) {
    CLI::App* command = group.add_subcommand(name, help);
    auto path = std::make_shared<std::string>();
    command->add_option("FILE", *path, "Image file")->required();
    command->callback([&context, path, parse, hash, kind] {
        context.exitStatus = hashImageFile(*path, parse, hash, kind);
    });
}

}  // namespace

void addMapHashCommands(CLI::App& app, CommandContext& context) {
    CLI::App* maphash = app.add_subcommand("maphash", "Map hashes of a collision mask or terrain image");
    maphash->require_subcommand(1);
    addHashCommand(*maphash, context, "geometry",
                   "Geometry hash of a collision mask (binary PBM, P4; 1 = solid)", tools::parsePbm,
                   tools::geometryHashOfImage, "PBM (P4)");
    addHashCommand(*maphash, context, "terrain", "Terrain hash of an 8-bit terrain image (binary PGM, P5)",
                   tools::parsePgm, tools::terrainHashOfImage, "PGM (P5, 8-bit)");
}

}  // namespace tarvek::cli
