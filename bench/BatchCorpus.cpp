#include "BatchCorpus.h"

#include "MaterialBytes.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace BatchCorpus {

namespace {

constexpr int Collections = 5;
constexpr int MaterialsPerCollection = 20;
constexpr int MaterialsPerCategory = Collections * MaterialsPerCollection;
// Preview and fixed fields take about 120 KB; the records bring a material to 160 KB.
constexpr size_t RecordBytes = 40'000;

const char* const categories[] = {"Wood",    "Metal",   "Stone",    "Fabric", "Glass",
                                  "Plastic", "Leather", "Concrete", "Tiles",  "Paint"};
const char* const surfaces[][4] = {
    {"oak_planks", "walnut_veneer", "pine_boards", "bamboo_strips"},
    {"brushed_steel", "hammered_copper", "rusted_iron", "polished_brass"},
    {"marble_carrara", "slate_tiles", "granite_speckled", "travertine_honed"},
    {"linen_weave", "wool_felt", "denim_twill", "velvet_crushed"},
    {"frosted_glass", "tinted_glass", "ribbed_glass", "glass_blocks"},
    {"abs_matte", "pvc_glossy", "nylon_textured", "acrylic_clear"},
    {"leather_aniline", "suede_brown", "nubuck_grey", "leather_embossed"},
    {"concrete_raw", "concrete_polished", "concrete_formwork", "screed_stained"},
    {"ceramic_hex", "terracotta_square", "mosaic_blue", "subway_white"},
    {"paint_eggshell", "paint_chipped", "plaster_painted", "enamel_red"},
};
const char* const kinds[] = {"diffuse", "normal", "roughness", "bump", "specular", "displacement"};
const char* const users[] = {"anna", "ben", "chiara", "dmitri"};
const char* const refractions[] = {"gold",      "silver", "copper",  "aluminium",
                                   "glass_bk7", "water",  "diamond", "chrome"};

struct Material {
    std::string category, collection, stem, user, refraction;
    int paths;
};

// Past the first thousand, each category gets five more collections.
Material describe(int i) {
    const int category = i / MaterialsPerCategory % 10;
    const int collection =
        i / 1000 * Collections + i % MaterialsPerCategory / MaterialsPerCollection;
    char number[16], collectionNumber[16];
    std::snprintf(number, sizeof number, "%04d", i);
    std::snprintf(collectionNumber, sizeof collectionNumber, "%02d", collection + 1);
    return {categories[category],
            std::string(categories[category]) + " Collection " + collectionNumber,
            std::string(surfaces[category][i % 4]) + "_" + number,
            users[i / 7 % 4],
            refractions[i % 8],
            3 + i % 4};
}

// Bytes that stand for a block's parameters. They hold no "." so that no
// ".ior" or ".r2" appears in them by chance.
std::string parameters(size_t size, uint32_t seed) {
    std::string bytes(size, '\0');
    for (char& byte : bytes) {
        seed = seed * 1664525u + 1013904223u;
        byte = static_cast<char>(seed >> 24);
        if (byte == '.')
            byte = '\0';
    }
    return bytes;
}

std::string texturePath(const Material& m, int kind) {
    return "/Users/" + m.user + "/Textures/" + m.category + "/" + m.stem + "_" + kinds[kind] +
           ".jpg";
}

std::string refractionPath(const Material& m) {
    return "/Users/" + m.user + "/Library/Maxwell/ior/" + m.refraction + ".ior";
}

std::string materialBytes(const Material& m, int i) {
    static const std::string preview = MaterialBytes().preview(200, 200).bytes();
    MaterialBytes bytes;
    bytes.marker().string(m.stem).raw(preview).middle();
    const size_t blockSize = RecordBytes / static_cast<size_t>(m.paths);
    for (int kind = 0; kind < m.paths; ++kind) {
        std::string block = parameters(blockSize, static_cast<uint32_t>(i * 8 + kind));
        // The first block names its refraction data among its parameters.
        if (kind == 0)
            block += '\0' + MaterialBytes().string(refractionPath(m)).bytes() +
                     parameters(200, static_cast<uint32_t>(i));
        if (kind + 1 < m.paths)
            block += "bitmap";
        bytes.record(texturePath(m, kind), block);
    }
    return bytes.bytes();
}

void writeFile(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

void make(const fs::path& root, int materials) {
    for (const char* refraction : refractions)
        writeFile(library(root) / "ior" / (std::string(refraction) + ".ior"), "ior data");
    for (int i = 0; i < materials; ++i) {
        const Material m = describe(i);
        writeFile(corpus(root) / m.category / m.collection / (m.stem + ".mxm"),
                  materialBytes(m, i));
        for (int kind = 0; kind < m.paths; ++kind)
            writeFile(library(root) / m.category / m.stem /
                          fs::path(texturePath(m, kind)).filename(),
                      "jpeg data");
    }
}

} // namespace

fs::path corpus(const fs::path& root) {
    return root / "corpus";
}

fs::path library(const fs::path& root) {
    return root / "library";
}

// Made under a temporary name and renamed into place, so that a corpus at
// root is always complete.
void makeOnce(const fs::path& root, int materials) {
    if (fs::exists(root))
        return;
    const fs::path building = root.string() + "." + std::to_string(::getpid());
    make(building, materials);
    if (std::rename(building.c_str(), root.c_str()) != 0) // another run was first
        fs::remove_all(building);
}

} // namespace BatchCorpus
