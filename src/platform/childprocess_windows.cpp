#include "platform/childprocess.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace {

// One argument quoted as the C runtime's parser reads it back: backslashes are doubled only
// before a quote.
std::wstring quoted(const std::wstring& arg) {
    if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos) return arg;
    std::wstring out = L"\"";
    size_t backslashes = 0;
    for (wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        out.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        backslashes = 0;
        out.push_back(c);
    }
    out.append(2 * backslashes, L'\\');
    return out + L"\"";
}

std::wstring commandLine(const std::vector<std::string>& args) {
    std::wstring line;
    for (const std::string& arg : args) {
        if (!line.empty()) line += L' ';
        line += quoted(std::filesystem::u8path(arg).wstring());
    }
    return line;
}

std::string systemMessage(DWORD code) {
    char* text = nullptr;
    DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = length > 0 ? std::string(text, length) : "error " + std::to_string(code);
    LocalFree(text);
    while (!message.empty() &&
           (message.back() == '\n' || message.back() == '\r' || message.back() == '.'))
        message.pop_back();
    return message;
}

}  // namespace

struct CChildProcess::Handles {
    HANDLE input = nullptr;  // the pipe's writing end
    HANDLE process = nullptr;
};

CChildProcess::CChildProcess() : handles(std::make_unique<Handles>()) {}

CChildProcess::~CChildProcess() {
    std::string ignored;
    finish(ignored);
}

bool CChildProcess::isRunning() const {
    return handles->input != nullptr;
}

// A process group of its own keeps the console's Ctrl-C from reaching the program; without a
// console of ours it gets none either, rather than a window of its own.
bool CChildProcess::start(const std::vector<std::string>& args, std::string& error) {
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 1 << 20)) {
        error = "cannot make a pipe to " + args[0] + ": " + systemMessage(GetLastError());
        return false;
    }
    SetHandleInformation(writeEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = readEnd;
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    DWORD flags = CREATE_NEW_PROCESS_GROUP | (GetConsoleWindow() == nullptr ? CREATE_NO_WINDOW : 0);
    std::wstring line = commandLine(args);
    PROCESS_INFORMATION info{};
    BOOL started = CreateProcessW(std::filesystem::u8path(args[0]).wstring().c_str(), &line[0],
                                  nullptr, nullptr, TRUE, flags, nullptr, nullptr, &startup, &info);
    DWORD failure = GetLastError();
    CloseHandle(readEnd);
    if (!started) {
        CloseHandle(writeEnd);
        error = "cannot start " + args[0] + ": " + systemMessage(failure);
        return false;
    }
    CloseHandle(info.hThread);
    handles->process = info.hProcess;
    handles->input = writeEnd;
    return true;
}

bool CChildProcess::write(const uint8_t* data, size_t bytes, std::string& error) {
    size_t done = 0;
    while (done < bytes) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes - done, 1u << 30));
        DWORD written = 0;
        if (!WriteFile(handles->input, data + done, chunk, &written, nullptr) || written == 0) {
            error = systemMessage(GetLastError());
            return false;
        }
        done += written;
    }
    return true;
}

// Exit codes from 0xC0000000 on are the system's own for a program it ended (a crash).
bool CChildProcess::finish(std::string& ending) {
    if (handles->input != nullptr) CloseHandle(handles->input);
    handles->input = nullptr;
    if (handles->process == nullptr) return true;
    WaitForSingleObject(handles->process, INFINITE);
    DWORD status = 1;
    bool exited = GetExitCodeProcess(handles->process, &status) != 0;
    DWORD failure = exited ? 0 : GetLastError();
    CloseHandle(handles->process);
    handles->process = nullptr;
    if (exited && status == 0) return true;
    char code[32];
    std::snprintf(code, sizeof code, status >= 0xC0000000u ? "0x%08lX" : "%lu",
                  static_cast<unsigned long>(status));
    ending = exited ? std::string("it exited with status ") + code
                    : "its exit status cannot be read: " + systemMessage(failure);
    return false;
}
