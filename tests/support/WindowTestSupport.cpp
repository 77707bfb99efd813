#include "WindowTestSupport.h"

#include "TApplication.h"
#include "TestSupport.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace testing_support {

HostForm::HostForm(int width, int height, TColor color) : TForm(nullptr)
{
    Name = "HostForm";
    Color = color;
    SetBounds(40, 40, width, height);
    Show();
    Pump();
}

void Pump()
{
    for (int i = 0; i < 3; ++i) {
        Application->ProcessMessages();
        Sleep(1);
    }
}

static WPARAM Held = 0;

static WPARAM Flag(TMouseButton b)
{
    return b == mbLeft ? MK_LBUTTON : b == mbRight ? MK_RBUTTON : MK_MBUTTON;
}

static void Send(TWinControl& w, UINT msg, int x, int y)
{
    SendMessageA(w.Handle(), msg, Held, MAKELPARAM(static_cast<short>(x), static_cast<short>(y)));
}

void Press(TWinControl& w, int x, int y, TMouseButton b)
{
    Held |= Flag(b);
    Send(w, b == mbLeft ? WM_LBUTTONDOWN : b == mbRight ? WM_RBUTTONDOWN : WM_MBUTTONDOWN, x, y);
}

void Release(TWinControl& w, int x, int y, TMouseButton b)
{
    Held &= ~Flag(b);
    Send(w, b == mbLeft ? WM_LBUTTONUP : b == mbRight ? WM_RBUTTONUP : WM_MBUTTONUP, x, y);
}

void DoubleClick(TWinControl& w, int x, int y, TMouseButton b)
{
    Press(w, x, y, b);
    Release(w, x, y, b);
    Held |= Flag(b);
    Send(w, b == mbLeft ? WM_LBUTTONDBLCLK : b == mbRight ? WM_RBUTTONDBLCLK : WM_MBUTTONDBLCLK, x, y);
    Release(w, x, y, b);
}

void MoveTo(TWinControl& w, int x, int y)
{
    Send(w, WM_MOUSEMOVE, x, y);
}

void Leave(TWinControl& w)
{
    SendMessageA(w.Handle(), WM_MOUSELEAVE, 0, 0);
}

void Render(TWinControl& w, TBitmap& out)
{
    RECT r;
    GetClientRect(w.Handle(), &r);
    out.SetSize(r.right, r.bottom);
    w.PaintTo(out.Canvas().DC());
}

void Grab(TWinControl& w, TBitmap& out)
{
    RECT r;
    GetClientRect(w.Handle(), &r);
    out.SetSize(r.right, r.bottom);
    HDC dc = GetDC(w.Handle());
    BitBlt(out.Canvas().DC(), 0, 0, r.right, r.bottom, dc, 0, 0, SRCCOPY);
    ReleaseDC(w.Handle(), dc);
}

int CountColor(TBitmap& b, const RECT& r, TColor color)
{
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            n += b.Pixel(x, y) == color;
    return n;
}

// PNG with stored (uncompressed) deflate blocks: no library needed for a test picture.
namespace {

uint32_t Crc(const uint8_t* p, size_t n, uint32_t c = 0xFFFFFFFFu)
{
    for (size_t i = 0; i < n; ++i) {
        c ^= p[i];
        for (int k = 0; k < 8; ++k)
            c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
    }
    return c;
}

void Be32(std::vector<uint8_t>& v, uint32_t x)
{
    for (int s = 24; s >= 0; s -= 8)
        v.push_back(static_cast<uint8_t>(x >> s));
}

void Chunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data)
{
    Be32(out, static_cast<uint32_t>(data.size()));
    std::vector<uint8_t> body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    out.insert(out.end(), body.begin(), body.end());
    Be32(out, Crc(body.data(), body.size()) ^ 0xFFFFFFFFu);
}

}  // namespace

bool WritePng(TBitmap& bitmap, const std::string& path)
{
    int w = bitmap.Width(), h = bitmap.Height();
    std::vector<uint8_t> raw;
    for (int y = 0; y < h; ++y) {
        raw.push_back(0);
        for (int x = 0; x < w; ++x) {
            TColor c = bitmap.Pixel(x, y);
            raw.push_back(GetRValue(c));
            raw.push_back(GetGValue(c));
            raw.push_back(GetBValue(c));
        }
    }
    std::vector<uint8_t> z = {0x78, 0x01};
    uint32_t a = 1, b = 0;
    for (uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    for (size_t i = 0; i < raw.size(); i += 65535) {
        size_t n = std::min<size_t>(65535, raw.size() - i);
        z.push_back(i + n >= raw.size() ? 1 : 0);
        z.push_back(n & 0xFF);
        z.push_back(n >> 8);
        z.push_back(~n & 0xFF);
        z.push_back((~n >> 8) & 0xFF);
        z.insert(z.end(), raw.begin() + static_cast<long>(i), raw.begin() + static_cast<long>(i + n));
    }
    Be32(z, (b << 16) | a);
    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    std::vector<uint8_t> ihdr;
    Be32(ihdr, static_cast<uint32_t>(w));
    Be32(ihdr, static_cast<uint32_t>(h));
    ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});
    Chunk(png, "IHDR", ihdr);
    Chunk(png, "IDAT", z);
    Chunk(png, "IEND", {});
    try {
        WriteFileBytes(path, std::string(png.begin(), png.end()));
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

std::string ArtifactPath(const std::string& name)
{
    MakeDirs("C:\\artifacts");
    return "C:\\artifacts\\" + name;
}

}  // namespace testing_support
