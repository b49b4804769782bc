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

QByteArray FileText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(IniProfile, NegativeNumbersAreWrittenAsTheyAreTyped) {
    QTemporaryDir dir;
    const QString file = dir.filePath("Kelvardin.ini");
    CIniProfile profile(FromQString(file));
    profile.WriteProfileInt(u"Settings\\Startup and Shutdown", u"AutoLog", 0xFFFFFFFFu);
    ASSERT_TRUE(profile.Flush());
    EXPECT_TRUE(FileText(file).contains("AutoLog=-1\n")) << FileText(file).toStdString();
    EXPECT_EQ(profile.GetProfileInt(u"Settings\\Startup and Shutdown", u"AutoLog", 0), 0xFFFFFFFFu);
}

TEST(IniProfile, AValueWrittenAsThisCopyReadItLeavesAnotherCopysChangeInPlace) {
    QTemporaryDir dir;
    const CString path = FromQString(dir.filePath("Kelvardin.ini"));
    const CString section = u"Settings\\Startup and Shutdown";
    {
        CIniProfile first(path);
        first.WriteProfileInt(section, u"ConfirmExit", 1);
        first.WriteProfileString(section, u"Name", u"one");
        first.WriteProfileBinary(section, u"Bytes", {1, 2});
    }
    CIniProfile mine(path);
    CIniProfile other(path);
    for (IProfile* copy : {static_cast<IProfile*>(&mine), static_cast<IProfile*>(&other)}) {
        copy->GetProfileInt(section, u"ConfirmExit", 1);
        copy->GetProfileString(section, u"Name", {});
        copy->GetProfileBinary(section, u"Bytes");
    }
    other.WriteProfileInt(section, u"ConfirmExit", 0);
    other.WriteProfileString(section, u"Name", u"two");
    other.WriteProfileBinary(section, u"Bytes", {3});
    ASSERT_TRUE(other.Flush());
    // This copy writes back every value as it read it, and one it changed itself.
    mine.WriteProfileInt(section, u"ConfirmExit", 1);
    mine.WriteProfileString(section, u"Name", u"one");
    mine.WriteProfileBinary(section, u"Bytes", {1, 2});
    mine.WriteProfileInt(section, u"AutoConnect", 0);
    ASSERT_TRUE(mine.Flush());

    CIniProfile after(path);
    EXPECT_EQ(after.GetProfileInt(section, u"ConfirmExit", 7), 0u);
    EXPECT_EQ(after.GetProfileString(section, u"Name", {}), CString(u"two"));
    EXPECT_EQ(after.GetProfileBinary(section, u"Bytes"), std::vector<std::uint8_t>{3});
    EXPECT_EQ(after.GetProfileInt(section, u"AutoConnect", 7), 0u);
}

TEST(IniProfile, AValueReadAgainIsWrittenWhenTheFileHoldsAnotherCopysChange) {
    QTemporaryDir dir;
    const CString path = FromQString(dir.filePath("Kelvardin.ini"));
    const CString section = u"Windows\\Views";
    {
        CIniProfile first(path);
        first.WriteProfileBinary(section, u"Widths", {1, 2});
        first.WriteProfileString(section, u"WidthsKeys", u"a\n");
    }
    CIniProfile mine(path);
    CIniProfile other(path);
    for (IProfile* copy : {static_cast<IProfile*>(&mine), static_cast<IProfile*>(&other)})
        copy->GetProfileBinary(section, u"Widths");
    other.WriteProfileBinary(section, u"Widths", {3, 4});
    other.WriteProfileString(section, u"WidthsKeys", u"b\n");
    ASSERT_TRUE(other.Flush());
    // This copy reads both again, sees the other's, and writes a pair that belongs together,
    // even where one value is the one it first read.
    mine.Reread(section, u"Widths");
    mine.Reread(section, u"WidthsKeys");
    EXPECT_EQ(mine.GetProfileString(section, u"WidthsKeys", {}), CString(u"b\n"));
    mine.WriteProfileBinary(section, u"Widths", {1, 2});
    mine.WriteProfileString(section, u"WidthsKeys", u"b\n");
    ASSERT_TRUE(mine.Flush());

    CIniProfile after(path);
    EXPECT_EQ(after.GetProfileBinary(section, u"Widths"), (std::vector<std::uint8_t>{1, 2}));
    EXPECT_EQ(after.GetProfileString(section, u"WidthsKeys", {}), CString(u"b\n"));
}

}  // namespace
