#include "TApplication.h"

#include "SysUtils.h"

#include <windows.h>

#include <vector>

static TApplication TheApplication;
TApplication* Application = &TheApplication;

static std::string ModulePath()
{
    std::vector<char> buf(MAX_PATH);
    for (;;) {
        DWORD n = GetModuleFileNameA(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n < buf.size())
            return std::string(buf.data(), n);
        buf.resize(buf.size() * 2);
    }
}

TApplication::TApplication() : FExeName(ModulePath())
{
    Title = ChangeFileExt(ExtractFileName(FExeName), "");
}

void TApplication::ShowException(const std::exception& e) const
{
    std::string msg = e.what();
    if (!msg.empty() && static_cast<unsigned char>(msg.back()) > '.')
        msg += '.';
    MessageBoxA(nullptr, msg.c_str(), Title.c_str(), MB_OK | MB_ICONSTOP | MB_TASKMODAL);
}

void TApplication::ShowMessage(const std::string& text) const
{
    MessageBoxA(nullptr, text.c_str(), Title.c_str(), MB_OK | MB_TASKMODAL);
}
