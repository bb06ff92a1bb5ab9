// Puts rectangles of a 0xRRGGBB picture straight onto an X window.
//
// The toolkit's own repaint draws into its backing store, copies that to the
// server and waits for the server's answer at every paint; at 24 paints a
// second that was most of what an idle window cost. This sends the changed
// rectangles from a shared-memory image (MIT-SHM) when the server runs on
// this machine, else as PutImage requests, and never waits for an answer.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/screen_rect.h"

struct xcb_connection_t;

class XcbPresenter {
 public:
  // A presenter for `window`, whose pixels take `width` x `height` of the
  // pictures given to Put. Null when the window does not keep pixels as
  // 24-bit 0xRRGGBB in 32-bit words of this machine's byte order: the
  // caller then paints through the toolkit. `allowSharedMemory` false
  // always uses PutImage.
  static std::unique_ptr<XcbPresenter> Create(xcb_connection_t* connection, uint32_t window, int width,
                                              int height, bool allowSharedMemory = true);
  ~XcbPresenter();
  XcbPresenter(const XcbPresenter&) = delete;
  XcbPresenter& operator=(const XcbPresenter&) = delete;

  bool UsesSharedMemory() const { return shared_ != nullptr; }
  // The shared image (rows `width` pixels apart), or null without one. A
  // picture kept there is put without being copied first.
  uint32_t* SharedPixels() { return shared_; }

  // Puts each rectangle of `pixels` (rows `stride` pixels apart) at the same
  // place of the window, clipped to width x height, and sends the requests.
  void Put(const uint32_t* pixels, int stride, const std::vector<ScreenRect>& rects);

  // Pictures kept at the server (pixmaps of the window's size), to be shown
  // again without sending them. Keep copies the whole shared image into
  // picture `slot` (0 .. kKeptPictures - 1); false without shared memory,
  // or when the server cannot make the pixmap. ShowKept copies `rects` of
  // picture `slot`, once kept, to the same place of the window.
  static constexpr int kKeptPictures = 4;
  bool Keep(int slot);
  void ShowKept(int slot, const std::vector<ScreenRect>& rects);

 private:
  XcbPresenter(xcb_connection_t* connection, uint32_t window, int width, int height);
  bool AttachSharedMemory();
  void PutRequests(const uint32_t* pixels, int stride, const ScreenRect& r);

  xcb_connection_t* connection_;
  uint32_t window_;
  uint32_t gc_ = 0;
  int width_, height_;
  // The shared image (width x height), and its segment's id at the server.
  uint32_t* shared_ = nullptr;
  uint32_t segment_ = 0;
  std::vector<uint32_t> packed_;  // one PutImage request's rows
  uint32_t kept_[kKeptPictures] = {};  // pixmap ids, 0 until made
  bool cannotKeep_ = false;            // the server refused a pixmap
};
