#include "tests/program/console/StraysweepProcess.h"

#include "library/base/UniqueHandle.h"

#include <thread>

#include <gtest/gtest.h>

namespace
{
// The quoting that CommandLineToArgvW undoes: backslashes double only
// before a quote.
std::wstring QuoteArgument(const std::wstring& argument)
{
    std::wstring quoted = L"\"";
    size_t backslashes = 0;
    for (wchar_t ch : argument)
    {
        if (ch == L'\\')
        {
            ++backslashes;
            continue;
        }
        if (ch == L'"')
            quoted.append(backslashes * 2 + 1, L'\\');
        else
            quoted.append(backslashes, L'\\');
        backslashes = 0;
        quoted += ch;
    }
    quoted.append(backslashes * 2, L'\\');
    return quoted + L"\"";
}

std::string ReadAll(HANDLE pipe)
{
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(pipe, buffer, sizeof(buffer), &read, nullptr) && read > 0)
        bytes.append(buffer, read);
    return bytes;
}

// A pipe whose write end the child inherits.
void MakePipe(UniqueKernelHandle& readEnd, UniqueKernelHandle& writeEnd)
{
    SECURITY_ATTRIBUTES inheritable = {sizeof(inheritable), nullptr, TRUE};
    HANDLE read = nullptr;
    HANDLE write = nullptr;
    ASSERT_TRUE(CreatePipe(&read, &write, &inheritable, 0));
    readEnd.Reset(read);
    writeEnd.Reset(write);
    SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
}
} // namespace

std::string TestBinPath(const std::string& name)
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.rfind('\\') + 1) + name;
}

std::string ProgramPath(const std::string& name)
{
    std::string folder = TestBinPath("");
    folder.pop_back();
    return folder.substr(0, folder.rfind('\\') + 1) + "bin\\" + name;
}

std::string StraysweepPath()
{
    return ProgramPath("straysweep.exe");
}

StraysweepRun RunStraysweep(const std::vector<std::wstring>& arguments)
{
    return RunStraysweep(StraysweepPath(), arguments);
}

StraysweepRun RunStraysweep(const std::string& programPath, const std::vector<std::wstring>& arguments)
{
    StraysweepRun run;
    std::wstring program = Wide(programPath);
    std::wstring commandLine = QuoteArgument(program);
    for (const std::wstring& argument : arguments)
        commandLine += L" " + QuoteArgument(argument);

    UniqueKernelHandle outRead, outWrite, errRead, errWrite;
    MakePipe(outRead, outWrite);
    MakePipe(errRead, errWrite);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = outWrite.Get();
    startup.hStdError = errWrite.Get();
    PROCESS_INFORMATION started = {};
    if (!CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                        &startup, &started))
    {
        ADD_FAILURE() << "cannot start " << programPath << ": " << GetLastError();
        run.exitCode = 999;
        return run;
    }
    UniqueKernelHandle thread(started.hThread);
    UniqueKernelHandle process(started.hProcess);
    // Only the child may hold the write ends now, so that the reads end.
    outWrite.Reset();
    errWrite.Reset();

    std::thread outReader([&] { run.out = ReadAll(outRead.Get()); });
    std::thread errReader([&] { run.err = ReadAll(errRead.Get()); });
    if (WaitForSingleObject(process.Get(), 60000) != WAIT_OBJECT_0)
    {
        ADD_FAILURE() << programPath << " still runs after a minute";
        TerminateProcess(process.Get(), 999);
        WaitForSingleObject(process.Get(), INFINITE);
    }
    outReader.join();
    errReader.join();
    GetExitCodeProcess(process.Get(), &run.exitCode);
    return run;
}

std::wstring Wide(const std::string& ansi)
{
    int length = MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, &wide[0], length);
    wide.resize(wide.size() - 1);
    return wide;
}

std::string Ansi(const std::wstring& wide)
{
    int length = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, &ansi[0], length, nullptr, nullptr);
    ansi.resize(ansi.size() - 1);
    return ansi;
}
