// The working-set trim: only the program's own utility is ever run, written
// whole under a temporary name, started with a quoted path.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <iterator>
#include <ostream>
#include <string>

#include "skin/core/window_skin.h"

using namespace vostrel::skin;

namespace vostrel::skin {
void PrintTo(TrimOutcome outcome, std::ostream* os) {
    *os << (outcome == TrimOutcome::RanUtility ? "RanUtility" : "TrimmedInProcess");
}
}  // namespace vostrel::skin

namespace {

std::string ModuleDirectory() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s = path;
    return s.substr(0, s.find_last_of("\\/"));
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

Bytes ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Every test works in a fresh directory whose name holds a space.
class TrimTest : public testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        base_ = std::string(temp) + "vostrel trim " + std::to_string(GetCurrentProcessId()) +
                "-" + testing::UnitTest::GetInstance()->current_test_info()->name();
        CreateDirectoryA(base_.c_str(), nullptr);
        utility_ = EmbeddedTrimUtility();
        marker_ = ReadFile(ModuleDirectory() + "\\skin_trim_marker.exe");
        ASSERT_FALSE(marker_.empty()) << "skin_trim_marker.exe is built next to the tests";
    }
    void TearDown() override { RemoveTree(base_); }

    static void RemoveTree(const std::string& dir) {
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA((dir + "\\*").c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                const std::string name = data.cFileName;
                if (name == "." || name == "..") continue;
                const std::string path = dir + "\\" + name;
                if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(path);
                else DeleteFileA(path.c_str());
            } while (FindNextFileA(find, &data));
            FindClose(find);
        }
        RemoveDirectoryA(dir.c_str());
    }

    // Names of the files in `dir` other than `keep`.
    static std::string OtherFiles(const std::string& dir, const std::string& keep) {
        std::string others;
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA((dir + "\\*").c_str(), &data);
        if (find == INVALID_HANDLE_VALUE) return others;
        do {
            const std::string name = data.cFileName;
            if (name != "." && name != ".." && name != keep) others += name + " ";
        } while (FindNextFileA(find, &data));
        FindClose(find);
        return others;
    }

    std::string base_;
    Bytes utility_;
    Bytes marker_;
};

}  // namespace

TEST_F(TrimTest, EmbeddedUtilityIsAProgram) {
    ASSERT_GT(utility_.size(), 1024u);
    EXPECT_EQ('M', utility_[0]);
    EXPECT_EQ('Z', utility_[1]);
}

// What sits at "\empty.exe" before the trim, and what happens.
TEST_F(TrimTest, RunsOnlyTheProgramsOwnUtility) {
    enum Start { None, Ours, Empty, FirstHalf, OneByteChanged, Foreign, ForeignLarger };
    struct Case {
        const char* name;
        Start start;
        TrimOutcome outcome;
        bool endsAsUtility;  // else the file is left exactly as it was
    };
    const Case cases[] = {
        {"missing: written and run", None, TrimOutcome::RanUtility, true},
        {"ours: run as it is", Ours, TrimOutcome::RanUtility, true},
        {"empty: an interrupted write, replaced", Empty, TrimOutcome::RanUtility, true},
        {"cut short: replaced", FirstHalf, TrimOutcome::RanUtility, true},
        {"same size, one byte differs: never run", OneByteChanged,
         TrimOutcome::TrimmedInProcess, false},
        {"another program: never run", Foreign, TrimOutcome::TrimmedInProcess, false},
        {"ours plus more bytes: never run", ForeignLarger, TrimOutcome::TrimmedInProcess, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string dir = base_ + "\\" + std::to_string(&c - cases);
        CreateDirectoryA(dir.c_str(), nullptr);
        const std::string path = dir + "\\empty.exe";
        Bytes start;
        switch (c.start) {
            case None: break;
            case Ours: start = utility_; break;
            case Empty: break;
            case FirstHalf: start.assign(utility_.begin(), utility_.begin() + utility_.size() / 2); break;
            case OneByteChanged: start = utility_; start[start.size() / 2] ^= 0x5A; break;
            case Foreign: start = marker_; break;
            case ForeignLarger: start = utility_; start.push_back(0); break;
        }
        if (c.start != None) WriteFile(path, start);

        EXPECT_EQ(c.outcome, TrimWorkingSetIn(dir));
        EXPECT_EQ(c.endsAsUtility ? utility_ : start, ReadFile(path));
        EXPECT_FALSE(Exists(path + ".ran")) << "a foreign program was run";
        EXPECT_EQ("", OtherFiles(dir, "empty.exe")) << "temporary files left behind";
    }
}

// With the Windows directory under a name that holds a space, an unquoted
// command line "C:\...\my dir\empty.exe <id>" would start "C:\...\my.exe".
TEST_F(TrimTest, PathWithASpaceIsQuoted) {
    const std::string decoy = base_ + "\\my.exe";
    WriteFile(decoy, marker_);
    const std::string dir = base_ + "\\my dir";
    CreateDirectoryA(dir.c_str(), nullptr);
    EXPECT_EQ(TrimOutcome::RanUtility, TrimWorkingSetIn(dir + "\\"));
    EXPECT_FALSE(Exists(decoy + ".ran"));
    EXPECT_EQ(utility_, ReadFile(dir + "\\empty.exe"));
}

TEST_F(TrimTest, UnwritableDirectoryTrimsInProcess) {
    for (const std::string& dir : {base_ + "\\does not exist", std::string()}) {
        SCOPED_TRACE(dir);
        EXPECT_EQ(TrimOutcome::TrimmedInProcess, TrimWorkingSetIn(dir));
    }
    EXPECT_FALSE(Exists(base_ + "\\does not exist"));
}

// The default place is the Windows directory; the test leaves the directory
// as it found it (a copy of ours left there by an earlier run stays).
TEST_F(TrimTest, DefaultsToTheWindowsDirectory) {
    char windows[MAX_PATH] = {};
    ASSERT_NE(0u, GetWindowsDirectoryA(windows, MAX_PATH));
    const std::string path = std::string(windows) + "\\empty.exe";
    const bool existed = Exists(path);
    if (existed && ReadFile(path) != utility_) GTEST_SKIP() << path << " is not ours; left alone";
    const TrimOutcome outcome = TrimWorkingSet();
    const Bytes written = ReadFile(path);
    EXPECT_EQ(TrimOutcome::RanUtility, outcome);
    EXPECT_EQ(utility_, written);

    // The thread form does the same work.
    HANDLE thread = CreateThread(nullptr, 0, TrimWorkingSetThread, nullptr, 0, nullptr);
    ASSERT_NE(nullptr, thread);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, 30000));
    CloseHandle(thread);
    if (!existed) DeleteFileA(path.c_str());
    EXPECT_EQ(existed, Exists(path));
}
