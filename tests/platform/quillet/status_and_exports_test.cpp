// The printer's status code, and the names the library exports.

#include <dlfcn.h>
#include <elf.h>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>

#include "tests/platform/quillet/printer_link.h"

namespace quillet_test {
namespace {

TEST_F(Emulator, AnswersStatusWithItsCurrentCode) {
    EXPECT_EQ(Ask("STATUS", ""), "0\r");  // idle
    for (const char* code : {"1", "1010", "2610", "3000", "FU1", "FU101", "FU300", "4"}) {
        quillet_set_status(kPort, code);
        EXPECT_EQ(Ask("STATUS", ""), std::string(code) + "\r");
    }
    // The status library's request carries 8 blanks; "00000000" is taken too.
    Bytes payload;
    ASSERT_TRUE(Receive(Block("STATUS", "", 0), payload));
    EXPECT_EQ(Text(payload), "4\r");

    // No port: every printer, those still to come included.
    EXPECT_EQ(Ask("STATUS", "", u"EMU_other"), "0\r");
    quillet_set_status(nullptr, "1300");
    EXPECT_EQ(Ask("STATUS", ""), "1300\r");
    EXPECT_EQ(Ask("STATUS", "", u"EMU_other"), "1300\r");
    EXPECT_EQ(Ask("STATUS", "", u"EMU_new"), "1300\r");
    quillet_set_status(kPort, nullptr);
    EXPECT_EQ(Ask("STATUS", ""), "0\r");

    quillet_set_status(nullptr, "2000");
    quillet_reset();
    EXPECT_EQ(Ask("STATUS", ""), "0\r");
    EXPECT_EQ(Ask("STATUS", "", u"EMU_new"), "0\r");
}

// Names of the defined dynamic symbols of an ELF64 shared object.
std::set<std::string> ExportedNames(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::set<std::string> names;
    if (file.size() < sizeof(Elf64_Ehdr)) return names;
    const auto* eh = reinterpret_cast<const Elf64_Ehdr*>(file.data());
    const auto* sh = reinterpret_cast<const Elf64_Shdr*>(file.data() + eh->e_shoff);
    for (int i = 0; i < eh->e_shnum; ++i) {
        if (sh[i].sh_type != SHT_DYNSYM) continue;
        const char* strings = file.data() + sh[sh[i].sh_link].sh_offset;
        const auto* sym = reinterpret_cast<const Elf64_Sym*>(file.data() + sh[i].sh_offset);
        for (size_t k = 0; k < sh[i].sh_size / sizeof(Elf64_Sym); ++k) {
            const int bind = ELF64_ST_BIND(sym[k].st_info);
            if (sym[k].st_shndx != SHN_UNDEF && (bind == STB_GLOBAL || bind == STB_WEAK))
                names.insert(strings + sym[k].st_name);
        }
    }
    return names;
}

TEST(QuilletLibrary, ExportsExactlyItsInterface) {
    Dl_info info{};
    ASSERT_NE(dladdr(reinterpret_cast<void*>(&MonitorIoControl), &info), 0);
    const std::set<std::string> expected = {"MonitorIoControl",
                                            "quillet_reset",
                                            "quillet_set_status",
                                            "quillet_fail_next",
                                            "quillet_fail_after",
                                            "quillet_fault_next_reply",
                                            "quillet_received_count",
                                            "quillet_received",
                                            "quillet_block_count",
                                            "quillet_block",
                                            "quillet_set_sensor",
                                            "quillet_set_setting",
                                            "quillet_get_setting",
                                            "quillet_set_reply",
                                            "quillet_table"};
    EXPECT_EQ(ExportedNames(info.dli_fname), expected);
}

}  // namespace
}  // namespace quillet_test
