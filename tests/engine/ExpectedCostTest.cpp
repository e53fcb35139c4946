#include "engine/ExpectedCost.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace pelmora {
namespace {

void Put16(std::string& bytes, std::size_t at, std::uint16_t value) {
    bytes[at] = static_cast<char>(value & 0xFF);
    bytes[at + 1] = static_cast<char>(value >> 8);
}

void Put32(std::string& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<char>(value >> (8 * i) & 0xFF);
    }
}

void PutEntry(std::string& bytes, std::size_t at, const std::string& name, char type,
              std::uint32_t size) {
    for (std::size_t i = 0; i < name.size(); ++i) {
        bytes[at + 2 * i] = name[i];
    }
    Put16(bytes, at + 0x40, static_cast<std::uint16_t>(2 * (name.size() + 1)));
    bytes[at + 0x42] = type;
    Put32(bytes, at + 0x78, size);
}

// A compound file of 512-byte sectors: the FAT in sector 0, the directory in sector 1
// (root, a text stream of 1,000 bytes, a picture stream of 20,000), then the data.
// directoryNext is the FAT entry after the directory's sector.
std::string CompoundFile(std::uint32_t directoryNext) {
    std::string bytes(512 * 3 + 21000, '\0');
    const unsigned char signature[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    bytes.replace(0, 8, reinterpret_cast<const char*>(signature), 8);
    Put16(bytes, 0x1E, 9);
    Put32(bytes, 0x2C, 1); // one FAT sector...
    Put32(bytes, 0x30, 1); // ...the directory starts in sector 1
    Put32(bytes, 0x4C, 0); // the FAT is sector 0
    for (std::size_t i = 0x50; i < 512; i += 4) {
        Put32(bytes, i, 0xFFFFFFFF);
    }
    Put32(bytes, 512, 0xFFFFFFFD);
    Put32(bytes, 512 + 4, directoryNext);
    PutEntry(bytes, 1024, "Root Entry", 5, 0);
    PutEntry(bytes, 1024 + 128, "WordDocument", 2, 1000);
    PutEntry(bytes, 1024 + 256, "Data", 2, 20000);
    return bytes;
}

std::string Write(const test::TempFolder& folder, const std::string& name,
                  const std::string& bytes) {
    test::WriteFile(folder / name, bytes);
    return folder / name;
}

TEST(ExpectedCost, TheFirstBytesTellTheKindOverTheName) {
    test::TempFolder folder;
    const CostFeatures rtf = ReadCostFeatures(Write(folder, "letter.doc", "{\\rtf1 hello}"));
    EXPECT_EQ(rtf.kind, DocumentKind::kRtf);
    EXPECT_EQ(rtf.bytes, 13u);
    EXPECT_EQ(
        ReadCostFeatures(Write(folder, "a.doc", "<?xml version=\"1.0\"?><w:wordDocument/>")).kind,
        DocumentKind::kWordXml);
    EXPECT_EQ(ReadCostFeatures(Write(folder, "b.xml", "plain")).kind, DocumentKind::kWordXml);
    EXPECT_EQ(ReadCostFeatures(Write(folder, "c.txt", "plain")).kind, DocumentKind::kUnknown);
    const CostFeatures missing = ReadCostFeatures(folder / "missing.doc");
    EXPECT_EQ(missing.bytes, 0u);
    EXPECT_GT(ExpectedCost(missing), 0);
}

TEST(ExpectedCost, ACompoundFileIsSplitIntoTextAndEmbeddedBytes) {
    test::TempFolder folder;
    const std::string file = CompoundFile(0xFFFFFFFE);
    const CostFeatures features = ReadCostFeatures(Write(folder, "pictures.doc", file));
    EXPECT_EQ(features.kind, DocumentKind::kBinaryWord);
    EXPECT_EQ(features.bytes, file.size());
    EXPECT_EQ(features.embeddedBytes, file.size() - 1000);

    // A directory chain that loops, or points past the file, is not followed.
    for (const std::uint32_t next : {1u, 500u}) {
        const CostFeatures broken =
            ReadCostFeatures(Write(folder, "broken.doc", CompoundFile(next)));
        EXPECT_EQ(broken.kind, DocumentKind::kBinaryWord);
        EXPECT_EQ(broken.embeddedBytes, 0u) << next;
    }
    // Cut off inside its FAT.
    const CostFeatures cut = ReadCostFeatures(Write(folder, "cut.doc", file.substr(0, 600)));
    EXPECT_EQ(cut.embeddedBytes, 0u);
}

// A file of over 7 MB needs more FAT sectors than the header lists: the 110th is
// found through the DIFAT, and it alone maps the directory, near the file's end.
TEST(ExpectedCost, ALargeCompoundFileIsFollowedThroughItsDifat) {
    constexpr std::uint32_t kDirectory = 14000;
    std::string bytes = CompoundFile(0xFFFFFFFE);
    bytes.resize(512 * (kDirectory + 2), '\0');
    Put32(bytes, 0x2C, 110);
    for (std::size_t i = 0x4C; i < 512; i += 4) {
        Put32(bytes, i, 0); // the header's 109 all name sector 0, for the first sectors
    }
    Put32(bytes, 0x30, kDirectory);
    Put32(bytes, 0x44, 1); // the DIFAT is sector 1...
    Put32(bytes, 0x48, 1);
    Put32(bytes, 512 * 2, 2); // ...and names sector 2 as the 110th FAT sector
    for (std::size_t i = 4; i < 508; i += 4) {
        Put32(bytes, 512 * 2 + i, 0xFFFFFFFF);
    }
    Put32(bytes, 512 * 2 + 508, 0xFFFFFFFE);
    for (std::size_t i = 0; i < 512; i += 4) {
        Put32(bytes, 512 * 3 + i, 0xFFFFFFFF);
    }
    Put32(bytes, 512 * 3 + 4 * (kDirectory - 109 * 128), 0xFFFFFFFE);
    const std::size_t directory = 512 * (kDirectory + 1);
    PutEntry(bytes, directory, "Root Entry", 5, 0);
    PutEntry(bytes, directory + 128, "WordDocument", 2, 1000);
    PutEntry(bytes, directory + 256, "Data", 2, 20000);
    test::TempFolder folder;
    const CostFeatures features = ReadCostFeatures(Write(folder, "large.doc", bytes));
    EXPECT_EQ(features.embeddedBytes, bytes.size() - 1000);
}

TEST(ExpectedCost, RealSamplesAreRead) {
    const std::string corpus = std::string(PELMORA_TEST_DATA) + "/corpus/";
    for (const char* name : {"two_images.doc", "table-merges.doc", "Fuzzed.doc"}) {
        const CostFeatures features = ReadCostFeatures(corpus + name);
        EXPECT_EQ(features.kind, DocumentKind::kBinaryWord) << name;
        EXPECT_GT(features.embeddedBytes, 0u) << name;
        EXPECT_LT(features.embeddedBytes, features.bytes) << name;
    }
}

TEST(ExpectedCost, CostGrowsWithSizeAndWordXmlCostsMostPerByte) {
    for (const DocumentKind kind :
         {DocumentKind::kBinaryWord, DocumentKind::kRtf, DocumentKind::kWordXml}) {
        EXPECT_LT(ExpectedCost({kind, 1000, 0}), ExpectedCost({kind, 1'000'000, 0}));
    }
    const std::uint64_t size = 2'000'000;
    EXPECT_GT(ExpectedCost({DocumentKind::kWordXml, size, 0}),
              ExpectedCost({DocumentKind::kRtf, size, 0}));
    EXPECT_GT(ExpectedCost({DocumentKind::kWordXml, size, 0}),
              ExpectedCost({DocumentKind::kBinaryWord, size, 0}));
    // Embedded bytes beyond the file's size are not believed.
    EXPECT_EQ(ExpectedCost({DocumentKind::kBinaryWord, 1000, 5000}),
              ExpectedCost({DocumentKind::kBinaryWord, 1000, 1000}));
}

} // namespace
} // namespace pelmora
