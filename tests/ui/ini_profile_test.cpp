#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "platform/ui/ini_profile.h"
#include "platform/ui/qt_convert.h"

namespace {

TEST(IniProfile, ValuesRoundTripThroughTheFile) {
    QTemporaryDir dir;
    const CString path = FromQString(dir.filePath("Kelvardin.ini"));
    std::vector<std::uint8_t> bytes(256);
    for (int i = 0; i < 256; ++i)
        bytes[static_cast<size_t>(i)] = static_cast<std::uint8_t>(i);
    {
        CIniProfile profile(path);
        profile.WriteProfileInt(u"Settings\\Communication", u"BaudRate", 38400);
        profile.WriteProfileInt(u"Settings\\Communication", u"Big", 0xFFFFFFF0u);
        profile.WriteProfileString(u"Settings\\Communication", u"IPAddress", u"10.0.0.5");
        profile.WriteProfileString(u"Settings\\Files and Directories", u"SetupDir",
                                   u"/home/tech/Einstellungen \u00e4\u30a2");
        profile.WriteProfileBinary(u"Windows\\Views", u"Widths", bytes);
        profile.WriteProfileBinary(u"Windows\\Views", u"Empty", {});
        ASSERT_TRUE(profile.Flush());
    }
    CIniProfile profile(path);
    EXPECT_EQ(profile.GetProfileInt(u"Settings\\Communication", u"BaudRate", 0), 38400u);
    EXPECT_EQ(profile.GetProfileInt(u"Settings\\Communication", u"Big", 0), 0xFFFFFFF0u);
    EXPECT_EQ(profile.GetProfileString(u"Settings\\Communication", u"IPAddress", u""),
              CString(u"10.0.0.5"));
    EXPECT_EQ(profile.GetProfileString(u"Settings\\Files and Directories", u"SetupDir", u""),
              CString(u"/home/tech/Einstellungen \u00e4\u30a2"));
    EXPECT_EQ(profile.GetProfileBinary(u"Windows\\Views", u"Widths"), bytes);
    EXPECT_EQ(profile.GetProfileBinary(u"Windows\\Views", u"Empty"), std::vector<std::uint8_t>{});
    // Missing values read as their defaults.
    EXPECT_EQ(profile.GetProfileInt(u"Settings\\Communication", u"Missing", 17), 17u);
    EXPECT_EQ(profile.GetProfileString(u"Nowhere", u"Missing", u"x"), CString(u"x"));
    EXPECT_FALSE(profile.GetProfileBinary(u"Windows\\Views", u"Missing").has_value());
}

TEST(IniProfile, ValuesThatDoNotParseReadAsTheirDefaults) {
    QTemporaryDir dir;
    const QString file = dir.filePath("hand.ini");
    QFile ini(file);
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write(
        "[Settings]\nCommunication\\BaudRate=fast\nCommunication\\Port=-1\n"
        "Communication\\Huge=99999999999\nCommunication\\Spaced= 12 \n"
        "Communication\\Text=plain\n");
    ini.close();
    CIniProfile profile(FromQString(file));
    EXPECT_EQ(profile.GetProfileInt(u"Settings\\Communication", u"BaudRate", 9600), 9600u);
    EXPECT_EQ(profile.GetProfileInt(u"Settings\\Communication", u"Port", 3), 0xFFFFFFFFu);
    EXPECT_EQ(profile.GetProfileInt(u"Settings\\Communication", u"Huge", 5), 5u);
    EXPECT_EQ(profile.GetProfileInt(u"Settings\\Communication", u"Spaced", 0), 12u);
    // Text where bytes are wanted is no binary value.
    EXPECT_FALSE(profile.GetProfileBinary(u"Settings\\Communication", u"Text").has_value());
}

}  // namespace
