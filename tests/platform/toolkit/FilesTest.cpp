// The system's file layer under the picture loader and the file test: what a name is, from the name alone, and a
// file read whole within a limit.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "support/ScratchFolder.h"
#include "platform/toolkit/Files.h"
#include "platform/toolkit/Picture.h"

namespace {

using toolkit::files::Kind;

TEST(FilesTest, EachKindOfNameIsToldApartWithoutOpeningIt) {
    testsupport::ScratchFolder folder("files");
    const std::string five = folder.Write("five.gif", std::string("12345"));
    const std::string empty = folder.Write("empty.gif", std::string());
    struct Case {
        std::string name;
        Kind type;
        bool sizeKnown;
        std::uintmax_t size;
    };
    std::vector<Case> cases = {
        {five, Kind::Regular, true, 5},
        {empty, Kind::Regular, true, 0},
        {folder.Path(), Kind::Folder, false, 0},
        {folder.Path() + "/none.gif", Kind::Missing, false, 0},
        {folder.Path() + "/none/none.gif", Kind::Missing, false, 0},
        {five + "/inside.gif", Kind::Missing, false, 0},
    };
#ifndef _WIN32
    const std::string pipe = folder.Path() + "/pipe.gif";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    cases.push_back({pipe, Kind::Pipe, false, 0});
    cases.push_back({"/dev/null", Kind::Device, false, 0});
#endif
    for (const Case& each : cases) {
        const toolkit::files::Entry entry = toolkit::files::Look(each.name);
        EXPECT_EQ(entry.Type, each.type) << each.name;
        EXPECT_EQ(entry.SizeKnown, each.sizeKnown) << each.name;
        EXPECT_EQ(entry.Size, each.size) << each.name;
    }
}

TEST(FilesTest, AFileIsReadWholeOrNotAtAllPastItsLimit) {
    testsupport::ScratchFolder folder("files");
    const std::string five = folder.Write("five.gif", std::string("12345"));
    EXPECT_EQ(toolkit::files::Read(five, 5), (std::vector<std::uint8_t>{'1', '2', '3', '4', '5'}));
    EXPECT_THROW(toolkit::files::Read(five, 4), toolkit::PictureLoadError);
    EXPECT_THROW(toolkit::files::Read(folder.Path() + "/none.gif", 5), toolkit::PictureLoadError);
    EXPECT_EQ(toolkit::files::NameOf(five), "five.gif");
}

}  // namespace
