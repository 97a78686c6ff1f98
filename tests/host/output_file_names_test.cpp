// Names of the files the program writes: device names refused in every spelling the system
// reads as a device, the short temporary name beside the target, the extended path form.
#include "core/output/file_names.h"

#include <gtest/gtest.h>

#include <string>

#include "core/base/text_case.h"

namespace {

TEST(DeviceName, DevicesInEverySpelling) {
    const struct {
        std::u16string path;
        std::u16string device;  // empty: an ordinary file
    } cases[] = {
        {u"COM1.wav", u"COM1"},
        {u"NUL.csv", u"NUL"},
        {u"LPT1.csv", u"LPT1"},
        {u"con", u"con"},
        {u"Prn.PNG", u"Prn"},
        {u"aux.tar.gz", u"aux"},
        {u"C:\\lessons\\com9.wav", u"com9"},
        {u"C:/lessons/lpt0.csv", u"lpt0"},
        {u"\\\\?\\C:\\x\\nul.csv", u"nul"},
        {u"COM1.wav.", u"COM1"},   // trailing dots
        {u"COM1.wav  ", u"COM1"},  // trailing spaces
        {u"nul .csv", u"nul"},     // spaces before the extension
        {u"NUL:", u"NUL"},
        {u"C:NUL", u"NUL"},
        {u"com\u00B9.wav", u"com\u00B9"},
        {u"CONOUT$.csv", u"CONOUT$"},
        {u"COM10.wav", u""},
        {u"COM.wav", u""},
        {u"console.csv", u""},
        {u"NULL.csv", u""},
        {u"chart.png", u""},
        {u"C:\\con\\x.csv", u""},  // a folder's name is not the file's
        {u"xcom1.wav", u""},
        {u"", u""},
    };
    for (const auto& c : cases) {
        const std::optional<std::u16string> device = output::DeviceName(c.path);
        EXPECT_EQ(device.value_or(u""), c.device) << std::string(c.path.begin(), c.path.end());
    }
}

TEST(DeviceName, ProblemNamesTheDeviceAndTheRule) {
    const std::u16string text = output::DeviceNameProblem(u"COM1");
    EXPECT_NE(text.find(u"names the device \"COM1\", not a file"), std::u16string::npos);
    EXPECT_NE(text.find(u"LPT0 to LPT9"), std::u16string::npos);
}

TEST(TemporaryPath, ShortAndBesideTheTarget) {
    const struct {
        std::u16string target;
        std::uint32_t id;
        std::u16string temporary;
    } cases[] = {
        {u"C:\\data\\chart.png", 0x1A2Bu, u"C:\\data\\~phasebox-00001a2b.tmp"},
        {u"chart.png", 0xFFFFFFFFu, u"~phasebox-ffffffff.tmp"},
        {u"C:chart.png", 1, u"C:~phasebox-00000001.tmp"},
        {u"d/e/" + std::u16string(240, u'n') + u".csv", 2, u"d/e/~phasebox-00000002.tmp"},
    };
    for (const auto& c : cases) EXPECT_EQ(output::TemporaryPathFor(c.target, c.id), c.temporary);
}

TEST(ExtendedPath, FullPathsTakeThePrefix) {
    const struct {
        std::u16string path;
        std::u16string extended;
    } cases[] = {
        {u"C:\\a\\b.csv", u"\\\\?\\C:\\a\\b.csv"},
        {u"\\\\server\\share\\b.csv", u"\\\\?\\UNC\\server\\share\\b.csv"},
        {u"\\\\?\\C:\\a\\b.csv", u"\\\\?\\C:\\a\\b.csv"},
        {u"\\\\.\\COM1", u"\\\\.\\COM1"},
        {u"b.csv", u"b.csv"},
        {u"C:b.csv", u"C:b.csv"},
    };
    for (const auto& c : cases) EXPECT_EQ(output::ExtendedPath(c.path), c.extended);
}

TEST(TextCase, OneRuleForEveryComparison) {
    EXPECT_TRUE(base::EqualsNoCase(u"--RENDER", u"--render"));
    EXPECT_TRUE(base::EqualsNoCase(u"ПРИРАЩЕНИЕ", u"приращение"));
    EXPECT_TRUE(base::EqualsNoCase(u"\u00C9T\u00C9", u"\u00E9t\u00E9"));
    EXPECT_FALSE(base::EqualsNoCase(u"\u00D7", u"\u00F7"));  // × and ÷ are no letters
    EXPECT_FALSE(base::EqualsNoCase(u"com1", u"com10"));
    EXPECT_TRUE(base::EndsWithNoCase(u"chart.PNG", u".png"));
    EXPECT_FALSE(base::EndsWithNoCase(u"png", u".png"));
    EXPECT_EQ(base::Lowered(u"Ёж-ABC"), u"ёж-abc");
}

}  // namespace
