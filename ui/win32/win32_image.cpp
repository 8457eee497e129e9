// The program's pictures: the logo, stretched to its control's size in the control's
// WM_DRAWITEM, and the window icon, both drawn from the portable pixels of ui/logo.h.
#include "ui/logo.h"
#include "ui/win32/win32_controls.h"

namespace ui::win32 {

namespace {

BITMAPINFO DibInfo(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // positive: bottom-up
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

// A top-down RGB picture as a bottom-up 24-bit DIB: rows reversed, bytes in BGR order, each row
// padded to four bytes.
std::vector<std::uint8_t> ToDib(int width, int height, const std::uint8_t* rgb) {
  const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
  std::vector<std::uint8_t> dib(stride * static_cast<size_t>(height), 0);
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* src = rgb + static_cast<size_t>(y) * width * 3;
    std::uint8_t* dst = dib.data() + static_cast<size_t>(height - 1 - y) * stride;
    for (int x = 0; x < width; ++x) {
      dst[x * 3 + 0] = src[x * 3 + 2];
      dst[x * 3 + 1] = src[x * 3 + 1];
      dst[x * 3 + 2] = src[x * 3 + 0];
    }
  }
  return dib;
}

class ImageControl : public NativeControl {
 public:
  using NativeControl::NativeControl;
  NativeClass nativeClass() const override { return {"STATIC", SS_OWNERDRAW}; }
  void created() override {
    // Resized once to the control's size by averaging, which keeps the lettering readable
    // better than the device's stretching does; painting then copies it 1:1.
    RECT r;
    GetClientRect(hwnd_, &r);
    RgbImage logo = Stretch(MakeLogo(), r.right - r.left, r.bottom - r.top);
    if (logo.pixels.empty()) logo = MakeLogo();
    width_ = logo.width;
    height_ = logo.height;
    dib_ = ToDib(logo.width, logo.height, logo.pixels.data());
  }
  void draw(const DRAWITEMSTRUCT& item) override {
    const BITMAPINFO info = DibInfo(width_, height_);
    const RECT& r = item.rcItem;
    SetStretchBltMode(item.hDC, COLORONCOLOR);
    StretchDIBits(item.hDC, r.left, r.top, r.right - r.left, r.bottom - r.top, 0, 0, width_,
                  height_, dib_.data(), &info, DIB_RGB_COLORS, SRCCOPY);
  }

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint8_t> dib_;
};

}  // namespace

HICON CreateProgramIcon() {
  const RgbImage icon = MakeIcon();
  const std::vector<std::uint8_t> dib = ToDib(icon.width, icon.height, icon.pixels.data());
  const BITMAPINFO info = DibInfo(icon.width, icon.height);
  HDC screen = GetDC(nullptr);
  HBITMAP colour = CreateDIBitmap(screen, &info.bmiHeader, CBM_INIT, dib.data(), &info,
                                  DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  // An all-zero AND mask: every pixel opaque.
  std::vector<std::uint8_t> maskBits(static_cast<size_t>(icon.height) * ((icon.width + 15) / 16) * 2, 0);
  HBITMAP mask = CreateBitmap(icon.width, icon.height, 1, 1, maskBits.data());
  ICONINFO parts{};
  parts.fIcon = TRUE;
  parts.hbmColor = colour;
  parts.hbmMask = mask;
  HICON result = colour && mask ? CreateIconIndirect(&parts) : nullptr;
  if (colour) DeleteObject(colour);
  if (mask) DeleteObject(mask);
  return result;
}

std::unique_ptr<NativeControl> MakeImageControl(Win32Window& window, const ControlSpec& spec) {
  return std::make_unique<ImageControl>(window, spec);
}

}  // namespace ui::win32
