#include "library/error/NvExceptionCommon.h"
#include "library/error/NvExceptionText.h"
#include "library/error/NvLogFileT.h"
#include "library/base/UniqueHandle.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestResourceIds.h"

#include <aclapi.h>
#include <sddl.h>

#include <string>
#include <thread>

#include <gtest/gtest.h>

namespace
{
// A log with a fixed stamp, so that whole files can be compared.
class TestLog : public Error::NvLogFileT<Error::SingleThreadedModel>
{
public:
    explicit TestLog(std::string path, std::string stamp = "STAMP ")
        : m_path(std::move(path)), m_stamp(std::move(stamp))
    {
    }
    CString GetFilePath() const override { return m_path.c_str(); }
    CString GetHeader() const override { return "HEAD\nER\n"; }
    CString GetLockGivenUpText() const override { return "LOCK GIVEN UP"; }
    CString GetLockRefusedText() const override { return "LOCK REFUSED"; }
    CString GetTimeStamp() const override { return m_stamp.c_str(); }

private:
    std::string m_path;
    std::string m_stamp;
};

class LogFile : public testing::Test
{
protected:
    std::string Path() const { return temp / "Log.txt"; }
    std::string Contents() const { return ReadFileBytes(Path()); }

    // The name of an object that the copies of the log at Path() share:
    // "lock" (the mutex) or "count" (the block).
    std::string SharedName(const char* kind) const
    {
        BY_HANDLE_FILE_INFORMATION file = {};
        UniqueFile handle(CreateFileA(Path().c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, 0, nullptr));
        if (!GetFileInformationByHandle(handle.Get(), &file))
            ADD_FAILURE() << "cannot read the identity of " << Path();
        char name[64];
        wsprintfA(name, "Local\\NvAppendFile-%08lx-%08lx%08lx-%s", file.dwVolumeSerialNumber, file.nFileIndexHigh,
                  file.nFileIndexLow, kind);
        return name;
    }

    // The block that the copies of the log share, made before the log opens
    // so that the test can leave in it what other copies would; null when it
    // cannot be made. It lasts as long as the test.
    LONG* MakeSharedBlock()
    {
        m_blockMapping.Reset(
            CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 8, SharedName("count").c_str()));
        m_blockView.Reset(MapViewOfFile(m_blockMapping.Get(), FILE_MAP_WRITE, 0, 0, 8));
        return static_cast<LONG*>(m_blockView.Get());
    }

    TempFolder temp;

private:
    UniqueKernelHandle m_blockMapping;
    UniqueMappedView m_blockView;
};

TEST_F(LogFile, NewFileGetsTheHeaderThenLinesWithCrLf)
{
    {
        TestLog log(Path());
        ASSERT_TRUE(log.OpenWithSizeLimit());
        log.Info("Program started.");
        log.Error("bad");
        log.Close();
    }
    EXPECT_EQ("HEAD\r\nER\r\n\r\nSTAMP Info: Program started.\r\nSTAMP Error: bad\r\n", Contents());
}

TEST_F(LogFile, NonEmptyFileGetsNoHeader)
{
    ASSERT_TRUE(WriteFileBytes(Path(), "old\r\n"));
    TestLog log(Path());
    ASSERT_TRUE(log.OpenWithSizeLimit());
    log.Info("next");
    EXPECT_EQ("old\r\nSTAMP Info: next\r\n", Contents());
}

TEST_F(LogFile, EmptyExistingFileGetsTheHeader)
{
    ASSERT_TRUE(WriteFileBytes(Path(), ""));
    TestLog log(Path());
    ASSERT_TRUE(log.OpenWithSizeLimit());
    EXPECT_EQ("HEAD\r\nER\r\n\r\n", Contents());
}

TEST_F(LogFile, FileAboveOneMebibyteIsStartedAfresh)
{
    ASSERT_TRUE(WriteFileBytes(Path(), std::string(1048577, 'x')));
    TestLog log(Path());
    ASSERT_TRUE(log.OpenWithSizeLimit());
    log.Info("a");
    EXPECT_EQ("HEAD\r\nER\r\n\r\nSTAMP Info: a\r\n", Contents());
}

TEST_F(LogFile, FileOfExactlyOneMebibyteIsAppendedTo)
{
    ASSERT_TRUE(WriteFileBytes(Path(), std::string(1048576, 'x')));
    TestLog log(Path());
    ASSERT_TRUE(log.OpenWithSizeLimit());
    log.Info("a");
    std::string contents = Contents();
    ASSERT_EQ(1048576u + 15u, contents.size());
    EXPECT_EQ("STAMP Info: a\r\n", contents.substr(1048576));
}

TEST_F(LogFile, SecondOpenWritesNothingAndSkipsTheSizeCheck)
{
    TestLog log(Path());
    ASSERT_TRUE(log.OpenWithSizeLimit());
    std::string before = Contents();
    EXPECT_TRUE(log.OpenWithSizeLimit());
    EXPECT_TRUE(log.Open(false));
    EXPECT_EQ(before, Contents());
}

TEST_F(LogFile, TruncatingOpenEmptiesAndAlwaysWritesTheHeader)
{
    ASSERT_TRUE(WriteFileBytes(Path(), "old contents\r\n"));
    TestLog log(Path());
    ASSERT_TRUE(log.Open(true));
    EXPECT_EQ("HEAD\r\nER\r\n\r\n", Contents());
}

TEST_F(LogFile, LineBreaksInsideAMessageAreRemoved)
{
    TestLog log(Path());
    ASSERT_TRUE(log.Open(true));
    log.Info("a\r\nb\nc\rd");
    log.Info(" ");
    std::string contents = Contents();
    EXPECT_EQ("STAMP Info: abcd\r\nSTAMP Info:  \r\n", contents.substr(contents.size() - 33));
}

TEST_F(LogFile, VariantsFormatAndLoadResources)
{
    TestLog log(Path(), "");
    ASSERT_TRUE(log.Open(true));
    log.InfoF("%s=%d", "n", 4);
    log.ErrorF("%s!", "e");
    log.Info(IDS_TEST_PLAIN);
    log.InfoF(IDS_TEST_FORMAT, "v", 2);
    log.Error(IDS_TEST_PLAIN + 900u);
    log.ErrorF(IDS_TEST_FORMAT, "w", 3);
    EXPECT_EQ("HEAD\r\nER\r\n\r\n"
              "Info: n=4\r\n"
              "Error: e!\r\n"
              "Info: Text from the string table.\r\n"
              "Info: Value v and number 2.\r\n"
              "Error: \r\n"
              "Error: Value w and number 3.\r\n",
              Contents());
}

TEST_F(LogFile, ExceptionLineAddsContextAndLocation)
{
    TestLog log(Path(), "");
    ASSERT_TRUE(log.Open(true));
    log.Error(Error::NvExceptionText("text", "C:\\src\\Where.cpp", 12), "ctx");
    log.Error(Error::NvExceptionText("text", nullptr, 0), nullptr);
    log.Error(Error::NvExceptionText("text", nullptr, 0), "ctx");
    EXPECT_EQ("HEAD\r\nER\r\n\r\n"
              "Error: text ctx module: Where.cpp, line: 12\r\n"
              "Error: text \r\n"
              "Error: text ctx \r\n",
              Contents());
}

TEST_F(LogFile, PolishBytesReachTheFileUnchanged)
{
    TestLog log(Path(), "");
    ASSERT_TRUE(log.Open(true));
    log.Info("Otwieranie klucza profilów: ą");
    EXPECT_EQ("HEAD\r\nER\r\n\r\nInfo: Otwieranie klucza profil\xF3w: \xB9\r\n", Contents());
}

TEST_F(LogFile, FailedOpenKeepsTheLogSilent)
{
    TestLog log(temp / "missing\\folder\\Log.txt");
    EXPECT_FALSE(log.OpenWithSizeLimit());
    log.Info("lost");
    log.Close();
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((temp / "missing\\folder\\Log.txt").c_str()));
    EXPECT_STREQ((temp / "missing\\folder\\Log.txt").c_str(), log.GetFilePath().GetString());
}

TEST_F(LogFile, SecondWriterSharesTheFile)
{
    TestLog first(Path(), "1 ");
    TestLog second(Path(), "2 ");
    ASSERT_TRUE(first.OpenWithSizeLimit());
    ASSERT_TRUE(second.OpenWithSizeLimit());
    first.Info("a");
    second.Info("b");
    first.Info("c");
    EXPECT_EQ("HEAD\r\nER\r\n\r\n1 Info: a\r\n2 Info: b\r\n1 Info: c\r\n", Contents());
}
// What a copy that died while writing alone leaves in the block the copies of
// a log share: its count and its mark as the writer without the mutex. The
// next copy must neither wait for it nor lose a line.
TEST_F(LogFile, CopyThatDiedWhileWritingHoldsUpNoOther)
{
    ASSERT_TRUE(WriteFileBytes(Path(), "old\r\n"));
    LONG* shared = MakeSharedBlock();
    ASSERT_NE(nullptr, shared);
    // No process has this id: ids are multiples of four.
    const LONG DeadProcess = 0x7FFFFFF1;
    shared[0] = 1;
    shared[1] = DeadProcess;

    DWORD start = GetTickCount();
    {
        TestLog log(Path());
        ASSERT_TRUE(log.OpenWithSizeLimit());
        log.Info("a");
        EXPECT_EQ(2, shared[0]);
        EXPECT_EQ(0, shared[1]);
    }
    EXPECT_LT(GetTickCount() - start, 1000u);
    EXPECT_EQ(1, shared[0]);
    EXPECT_EQ("old\r\nSTAMP Info: a\r\n", Contents());
}

// The lock of a log, held by a thread of its own (a mutex is granted again to
// the thread that holds it) until the object ends.
class HeldLock
{
public:
    explicit HeldLock(const std::string& name)
        : m_release(CreateEventA(nullptr, TRUE, FALSE, nullptr)), m_held(CreateEventA(nullptr, TRUE, FALSE, nullptr))
    {
        m_holder = std::thread([this, name] {
            UniqueKernelHandle lock(CreateMutexA(nullptr, FALSE, name.c_str()));
            WaitForSingleObject(lock.Get(), INFINITE);
            SetEvent(m_held.Get());
            WaitForSingleObject(m_release.Get(), INFINITE);
            ReleaseMutex(lock.Get());
        });
        WaitForSingleObject(m_held.Get(), INFINITE);
    }
    ~HeldLock()
    {
        SetEvent(m_release.Get());
        m_holder.join();
    }
    HeldLock(const HeldLock&) = delete;
    HeldLock& operator=(const HeldLock&) = delete;

private:
    UniqueKernelHandle m_release;
    UniqueKernelHandle m_held;
    std::thread m_holder;
};

// Another copy has the log open (its count stays) and is stuck holding the
// lock: the first line waits for it once, then the log says that it goes on
// without the lock, and no later line waits.
TEST_F(LogFile, LockHeldTooLongIsWaitedForOnceThenGivenUp)
{
    ASSERT_TRUE(WriteFileBytes(Path(), "old\r\n"));
    LONG* shared = MakeSharedBlock();
    ASSERT_NE(nullptr, shared);
    shared[0] = 1;
    HeldLock held(SharedName("lock"));

    // The header's check for an empty file is the first write.
    DWORD start = GetTickCount();
    TestLog log(Path());
    ASSERT_TRUE(log.OpenWithSizeLimit());
    log.Info("a");
    DWORD firstLine = GetTickCount() - start;
    start = GetTickCount();
    for (char text : {'b', 'c', 'd'})
        log.Info(std::string(1, text).c_str());
    DWORD laterLines = GetTickCount() - start;
    log.Close();

    EXPECT_GE(firstLine, 5000u);
    EXPECT_LT(laterLines, 1000u);
    EXPECT_EQ("old\r\nSTAMP Info: a\r\nSTAMP Error: LOCK GIVEN UP\r\nSTAMP Info: b\r\nSTAMP Info: c\r\n"
              "STAMP Info: d\r\n",
              Contents());
}

// Another user made the log's objects first, open to everyone, and holds the
// lock with a count that would make this copy wait for it: neither is used,
// no line waits, and the log says so once.
TEST_F(LogFile, SharedObjectsOfAnotherUserAreNotUsed)
{
    ASSERT_TRUE(WriteFileBytes(Path(), "old\r\n"));
    PSID system = nullptr;
    ASSERT_TRUE(ConvertStringSidToSidA("S-1-5-18", &system));
    UniqueLocalMemory ownedSystem(system);
    SECURITY_DESCRIPTOR descriptor;
    ASSERT_TRUE(InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION));
    ASSERT_TRUE(SetSecurityDescriptorOwner(&descriptor, system, FALSE));
    ASSERT_TRUE(SetSecurityDescriptorDacl(&descriptor, TRUE, nullptr, FALSE));
    SECURITY_ATTRIBUTES attributes = {sizeof(attributes), &descriptor, FALSE};
    UniqueKernelHandle foreignLock(CreateMutexA(&attributes, FALSE, SharedName("lock").c_str()));
    ASSERT_TRUE(foreignLock.IsValid());
    UniqueKernelHandle foreignBlock(
        CreateFileMappingA(INVALID_HANDLE_VALUE, &attributes, PAGE_READWRITE, 0, 8, SharedName("count").c_str()));
    UniqueMappedView view(MapViewOfFile(foreignBlock.Get(), FILE_MAP_WRITE, 0, 0, 8));
    ASSERT_TRUE(view.IsValid());
    static_cast<LONG*>(view.Get())[0] = 1;
    HeldLock held(SharedName("lock"));

    DWORD start = GetTickCount();
    TestLog log(Path());
    ASSERT_TRUE(log.OpenWithSizeLimit());
    for (char text : {'a', 'b'})
        log.Info(std::string(1, text).c_str());
    DWORD lines = GetTickCount() - start;
    log.Close();

    EXPECT_LT(lines, 1000u);
    EXPECT_EQ("old\r\nSTAMP Info: a\r\nSTAMP Error: LOCK REFUSED\r\nSTAMP Info: b\r\n", Contents());
    EXPECT_EQ(1, static_cast<LONG*>(view.Get())[0]);
}

// Read back through a handle opened by name, both objects carry a DACL with
// one entry: the user of this process.
TEST_F(LogFile, SharedObjectsAreOpenToTheCurrentUserOnly)
{
    TestLog log(Path());
    ASSERT_TRUE(log.OpenWithSizeLimit());
    HANDLE token = nullptr;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token));
    UniqueKernelHandle ownedToken(token);
    BYTE user[256] = {};
    DWORD size = 0;
    ASSERT_TRUE(GetTokenInformation(token, TokenUser, user, sizeof(user), &size));
    PSID self = reinterpret_cast<TOKEN_USER*>(user)->User.Sid;

    UniqueKernelHandle lock(OpenMutexA(READ_CONTROL, FALSE, SharedName("lock").c_str()));
    UniqueKernelHandle block(OpenFileMappingA(READ_CONTROL, FALSE, SharedName("count").c_str()));
    for (HANDLE object : {lock.Get(), block.Get()})
    {
        ASSERT_NE(nullptr, object);
        PACL dacl = nullptr;
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS),
                  GetSecurityInfo(object, SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl, nullptr,
                                  &descriptor));
        UniqueLocalMemory ownedDescriptor(descriptor);
        ASSERT_NE(nullptr, dacl);
        ASSERT_EQ(1, dacl->AceCount);
        ACCESS_ALLOWED_ACE* entry = nullptr;
        ASSERT_TRUE(GetAce(dacl, 0, reinterpret_cast<void**>(&entry)));
        EXPECT_EQ(ACCESS_ALLOWED_ACE_TYPE, entry->Header.AceType);
        EXPECT_TRUE(EqualSid(self, &entry->SidStart));
    }
}
} // namespace
