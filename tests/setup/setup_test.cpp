#include "setup/install.h"
#include "setup/installlog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

namespace setup {
namespace {

namespace fs = std::filesystem;

std::string list(const std::string& line2, const std::string& body, const char* eol = "\r\n") {
    return std::string("Tervalo (De)Install 2.0 - Install.log") + eol + line2 + eol + body;
}
const std::string kUtf8 = "Nicht ver\xC3\xA4ndern, nicht l\xC3\xB6schen!";
const std::string kCp1252 = "Nicht ver\xE4ndern, nicht l\xF6schen!";

TEST(InstallLog, GoodListsInBothSpellingsAndLineEnds) {
    InstallLog log;
    ASSERT_TRUE(
        ReadInstallLog(list(kUtf8, "Prog\r\nC:\\ProGramme\\Tervalo\\Prog\\\r\nGroup\r\n-\r\n2\r\n"
                                   "bin\\prog\r\nProg\r\nlib\\data.txt\r\nNEIN!\r\nEnd\r\n"),
                       log));
    EXPECT_EQ(log.programName, "Prog");
    EXPECT_EQ(log.folderName, "Tervalo/Prog/"); // prefix removed, trailing separator kept
    EXPECT_EQ(log.groupName, "Group");
    ASSERT_EQ(log.entries.size(), 2u);
    EXPECT_EQ(log.entries[0].file, "bin/prog");
    EXPECT_EQ(log.entries[1].action, "NEIN!");
    EXPECT_TRUE(ReadInstallLog(list(kCp1252, "P\nF\nG\n-\n0\nEnd\n", "\n"), log));
    EXPECT_TRUE(log.entries.empty());
}

TEST(InstallLog, DamagedListsAreRefused) {
    std::string many = "P\r\nF\r\nG\r\n-\r\n201\r\n";
    for (int i = 0; i < 201; ++i)
        many += "f" + std::to_string(i) + "\r\nNEIN!\r\n";
    many += "End\r\n";
    const std::string cases[] = {
        list(kUtf8, "P\r\nF\r\nG\r\n-\r\n1\r\nfile\r\nNEIN!\r\n"), // ends with the last entry
        list(kUtf8, "P\r\nF\r\nG\r\n-\r\n2\r\nfile\r\nNEIN!\r\nEnd\r\n"), // fewer entries
        list(kUtf8, "P\r\nF\r\nG\r\n-\r\n1x\r\nfile\r\nNEIN!\r\nEnd\r\n"),
        list(kUtf8, "P\r\nF\r\nG\r\n-\r\n-1\r\nEnd\r\n"),
        list(kUtf8, many),
        list(kUtf8, std::string(300, 'P') + "\r\nF\r\nG\r\n-\r\n0\r\nEnd\r\n"),
        list(kUtf8, "P\r\nF\r\nG\r\n-\r\n1\r\n..\\..\\etc\\passwd\r\nNEIN!\r\nEnd\r\n"),
        list("nicht ver\xC3\xA4ndern, nicht l\xC3\xB6schen!", "P\r\nF\r\nG\r\n-\r\n0\r\nEnd\r\n"),
        "Tervalo (De)Install 2.1 - Install.log\r\n" + kUtf8 +
            "\r\nP\r\nF\r\nG\r\n-\r\n0\r\nEnd\r\n",
        "",
    };
    for (const std::string& c : cases) {
        InstallLog log;
        EXPECT_FALSE(ReadInstallLog(c, log)) << c.substr(0, 120);
    }
}

TEST(Newsletter, AddressEncodesByteByByte) {
    EXPECT_EQ(newsletterUrl("a b-c.d@x_y.de"),
              "https://www.tervalo.de/maillisteng.php?EMAIL=a%20b%2Dc.d@x_y.de&eintragen=1");
    EXPECT_EQ(newsletterUrl("\xC3\xA4"),
              "https://www.tervalo.de/maillisteng.php?EMAIL=%C3%A4&eintragen=1");
}

class Capture : public Ui {
public:
    void status(const std::string& s) override { statuses.push_back(s); }
    void message(const std::string& t, const std::string& c) override {
        messages.push_back(c + ": " + t);
    }
    std::vector<std::string> statuses, messages;
};

class Sandbox : public testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() / ("setup-sandbox-" + std::to_string(getpid()));
        fs::remove_all(root);
        fs::create_directories(root / "home");
        fs::create_directories(root / "src/sub");
        setenv("HOME", (root / "home").c_str(), 1);
        setenv("XDG_DATA_HOME", (root / "home/.local/share").c_str(), 1);
        setenv("SETUP_ROOT", (root / "sys").c_str(), 1);
        setenv("SETUP_OPEN_COMMAND", "true", 1);
        write("src/prog", "#!/bin/sh\necho hi\n", 0755);
        write("src/sub/data.txt", "data", 0644);
        write("src/uninstall", "#!/bin/sh\n", 0755);
        write("src/run.sh", "#!/bin/sh\n", 0755);
        ASSERT_TRUE(
            ReadInstallLog(list(kUtf8, "Prog\r\nProg\r\nTervalo Prog\r\n-\r\n4\r\nprog\r\nProg\r\n"
                                       "sub\\data.txt\r\nNEIN!\r\nuninstall\r\nDEINST!\r\n"
                                       "run.sh\r\nEXEC!\r\nEnd\r\n"),
                           log));
    }
    void TearDown() override { fs::remove_all(root); }
    void write(const std::string& rel, const std::string& text, int mode) {
        std::ofstream(root / rel) << text;
        fs::permissions(root / rel, fs::perms(mode));
    }
    bool exists(const std::string& rel) { return fs::exists(root / rel); }
    RunResult install(bool silent = true, const std::string& email = "") {
        places = detectPlaces();
        Options o;
        o.source = (root / "src").string();
        o.destination = defaultDestination(log, places);
        o.silent = silent;
        o.startProgram = false;
        o.email = email;
        return RunInstallation(log, o, places, ui);
    }
    std::vector<std::string> everything() {
        std::vector<std::string> out;
        for (const auto& e : fs::recursive_directory_iterator(root))
            if (e.path().string().find("/src") == std::string::npos)
                out.push_back(e.path().lexically_relative(root).string());
        std::sort(out.begin(), out.end());
        return out;
    }
    fs::path root;
    InstallLog log;
    Places places;
    Capture ui;
};

TEST_F(Sandbox, PerUserInstallationAndUninstallLeaveNothingBehind) {
    const auto before = everything();
    const RunResult r = install();
    EXPECT_FALSE(places.machineWide);
    const std::string dest = "home/.local/share/Prog/";
    EXPECT_TRUE(exists(dest + "prog"));
    EXPECT_TRUE(exists(dest + "sub/data.txt"));
    EXPECT_TRUE(exists(dest + "uninstall")); // the uninstaller stays with the program
    EXPECT_TRUE(fs::status(root / (dest + "prog")).permissions() == fs::perms(0755));
    EXPECT_TRUE(fs::status(root / (dest + "sub/data.txt")).permissions() == fs::perms(0644));
    const std::string menu = "home/.local/share/applications/Tervalo Prog/";
    EXPECT_TRUE(exists(menu + "Prog.desktop"));
    EXPECT_TRUE(exists(menu + "Uninstall.desktop"));
    std::ifstream un(root / (menu + "Uninstall.desktop"));
    const std::string unText{std::istreambuf_iterator<char>(un), {}};
    EXPECT_NE(unText.find("uninstall\" \"" + (root / dest).string() + "\""), std::string::npos)
        << unText;
    EXPECT_TRUE(exists("home/Desktop/Prog.desktop"));
    EXPECT_FALSE(exists("sys/etc/tervalo/uninstall/Prog.conf"));
    std::ifstream link(root / (menu + "Prog.desktop"));
    const std::string text{std::istreambuf_iterator<char>(link), {}};
    EXPECT_NE(text.find("Exec=\"" + (root / (dest + "prog")).string() + "\""), std::string::npos)
        << text;
    EXPECT_EQ(r.programToStart, (root / (dest + "prog")).string());
    ASSERT_EQ(r.opened.size(), 1u);   // EXEC!
    EXPECT_TRUE(ui.messages.empty()); // silent: no final message

    std::string error;
    ASSERT_TRUE(Uninstall((root / dest).string(), error)) << error;
    EXPECT_EQ(everything(), before);
}

TEST_F(Sandbox, MachineWideInstallationWritesTheUninstallEntry) {
    fs::create_directories(root / "sys/opt");
    const auto before = everything();
    const RunResult r = install(false, "me@example.org");
    ASSERT_EQ(r.opened.size(), 2u); // the EXEC! entry, then the newsletter page
    EXPECT_EQ(r.opened[1],
              "https://www.tervalo.de/maillisteng.php?EMAIL=me@example.org&eintragen=1");
    EXPECT_TRUE(places.machineWide);
    EXPECT_TRUE(exists("sys/opt/Prog/prog"));
    EXPECT_TRUE(exists("sys/usr/local/bin/uninstall"));
    EXPECT_FALSE(exists("sys/opt/Prog/uninstall"));
    std::ifstream entry(root / "sys/etc/tervalo/uninstall/Prog.conf");
    const std::string text{std::istreambuf_iterator<char>(entry), {}};
    EXPECT_EQ(text, "DisplayName=Prog\nUninstallString=" +
                        (root / "sys/usr/local/bin/uninstall").string() + " \"" +
                        (root / "sys/opt/Prog/").string() + "\"\n");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0],
              "Installation finished: The installation is now complete. A start menu entry and a "
              "shortcut on the desktop has been created.");
    std::string error;
    ASSERT_TRUE(Uninstall((root / "sys/opt/Prog").string(), error));
    EXPECT_EQ(everything(), before);
}

TEST_F(Sandbox, FileThatCannotBeCopiedIsReportedAndTheRunGoesOn) {
    fs::remove(root / "src/sub/data.txt");
    install();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].find("Error while copying the file"), std::string::npos);
    EXPECT_TRUE(exists("home/.local/share/Prog/prog"));
}

} // namespace
} // namespace setup
