// ChildProcess with CreateProcessW. The command line quotes each argument the way the C runtime
// of the started program splits it again.
#include <windows.h>

#include <string>

#include "tests/support/child_process.h"

namespace hvx::test {

namespace {

constexpr UINT kTerminatedExitCode = 137;  // what a shell reports for a killed program

HANDLE Handle(std::intptr_t process) {
    return reinterpret_cast<HANDLE>(process);
}

std::wstring Wide(const std::string& text) {
    const int length =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                        length);
    return wide;
}

// One argument as the C runtime reads it back: quoted, with the backslashes before a quote
// (and before the closing quote) doubled.
std::wstring Quoted(const std::wstring& argument) {
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t unit : argument) {
        if (unit == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(unit == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += unit;
    }
    quoted.append(backslashes * 2, L'\\');
    return quoted + L"\"";
}

// An inheritable handle of a new file (or the test's own stream when no file is named); null
// when the file cannot be made.
HANDLE OutputFor(const std::filesystem::path& file, DWORD standard) {
    if (file.empty()) {
        return GetStdHandle(standard);
    }
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    return handle == INVALID_HANDLE_VALUE ? nullptr : handle;
}

void CloseOwned(HANDLE handle, DWORD standard) {
    if (handle != nullptr && handle != GetStdHandle(standard)) {
        CloseHandle(handle);
    }
}

}  // namespace

ChildProcess::ChildProcess(const std::string& program, std::vector<std::string> arguments,
                           const Output& output) {
    std::wstring commandLine;
    for (const std::string& argument : arguments) {
        commandLine += (commandLine.empty() ? L"" : L" ") + Quoted(Wide(argument));
    }
    HANDLE out = OutputFor(output.out, STD_OUTPUT_HANDLE);
    HANDLE err = OutputFor(output.err, STD_ERROR_HANDLE);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION started{};
    const std::wstring file = Wide(program);
    if (CreateProcessW(file.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                       nullptr, &startup, &started) != FALSE) {
        CloseHandle(started.hThread);
        m_process = reinterpret_cast<std::intptr_t>(started.hProcess);
    }
    CloseOwned(out, STD_OUTPUT_HANDLE);
    CloseOwned(err, STD_ERROR_HANDLE);
}

ChildProcess::~ChildProcess() {
    if (m_process != kNone) {
        TerminateProcess(Handle(m_process), kTerminatedExitCode);
        WaitForSingleObject(Handle(m_process), INFINITE);
        CloseHandle(Handle(m_process));
    }
}

void ChildProcess::Signal(int /*signal*/) const {
    if (m_process != kNone) {
        TerminateProcess(Handle(m_process), kTerminatedExitCode);
    }
}

int ChildProcess::Wait() {
    if (m_process == kNone || WaitForSingleObject(Handle(m_process), INFINITE) != WAIT_OBJECT_0) {
        return -1;
    }
    DWORD code = 0;
    const BOOL known = GetExitCodeProcess(Handle(m_process), &code);
    CloseHandle(Handle(m_process));
    m_process = kNone;
    return known != FALSE && code != kTerminatedExitCode ? static_cast<int>(code) : -1;
}

bool ChildProcess::Ended() {
    if (m_process == kNone) {
        return true;
    }
    if (WaitForSingleObject(Handle(m_process), 0) != WAIT_OBJECT_0) {
        return false;
    }
    CloseHandle(Handle(m_process));
    m_process = kNone;
    return true;
}

}  // namespace hvx::test
