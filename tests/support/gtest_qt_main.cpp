// Tests that need Qt run inside a QApplication on the offscreen platform, with settings and
// data folders of their own, so that nothing of the user's (or of another test) is read.
#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

// Leaks of system libraries that the leak checker is to pass over (it reads this at start).
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\n"
           "leak:libdbus\n"
           // SANE's test backend forgets its read buffer when a scan is cancelled.
           "leak:libsane-test.so\n";
}

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    std::string home = "/tmp/picmetra-test-XXXXXX";
    if (mkdtemp(home.data())) {
        setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
        setenv("XDG_DATA_HOME", (home + "/data").c_str(), 1);
    }
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    std::system(("rm -rf '" + home + "'").c_str());
    return result;
}
