#include "platform/xcb_presenter.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <xcb/shm.h>
#include <xcb/xcb.h>

namespace {

// Whether the window's pixels are 0xRRGGBB in 32-bit words laid out as this
// machine lays out a uint32_t: then the picture's rows go over unchanged.
bool KeepsOurPixels(xcb_connection_t* c, xcb_window_t window) {
  xcb_get_geometry_reply_t* geometry = xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr);
  xcb_get_window_attributes_reply_t* attributes =
      xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, window), nullptr);
  const int depth = geometry ? geometry->depth : 0;
  const xcb_visualid_t visual = attributes ? attributes->visual : 0;
  std::free(geometry);
  std::free(attributes);
  if (depth != 24) return false;  // a 32-bit visual would take our zero top byte as transparency

  const xcb_setup_t* setup = xcb_get_setup(c);
  const uint8_t ourOrder =
      std::endian::native == std::endian::little ? XCB_IMAGE_ORDER_LSB_FIRST : XCB_IMAGE_ORDER_MSB_FIRST;
  if (setup->image_byte_order != ourOrder) return false;
  bool words = false;
  for (auto f = xcb_setup_pixmap_formats_iterator(setup); f.rem; xcb_format_next(&f))
    if (f.data->depth == 24) words = f.data->bits_per_pixel == 32;
  if (!words) return false;

  for (auto s = xcb_setup_roots_iterator(setup); s.rem; xcb_screen_next(&s))
    for (auto d = xcb_screen_allowed_depths_iterator(s.data); d.rem; xcb_depth_next(&d))
      for (auto v = xcb_depth_visuals_iterator(d.data); v.rem; xcb_visualtype_next(&v))
        if (v.data->visual_id == visual)
          return v.data->_class == XCB_VISUAL_CLASS_TRUE_COLOR && v.data->red_mask == 0xFF0000 &&
                 v.data->green_mask == 0x00FF00 && v.data->blue_mask == 0x0000FF;
  return false;
}

// `r` clipped to a width x height window: empty (w or h <= 0) outside it.
ScreenRect Clipped(ScreenRect r, int width, int height) {
  const int x1 = std::min(r.x + r.w, width), y1 = std::min(r.y + r.h, height);
  r.x = std::max(r.x, 0);
  r.y = std::max(r.y, 0);
  r.w = x1 - r.x;
  r.h = y1 - r.y;
  return r;
}

}  // namespace

std::unique_ptr<XcbPresenter> XcbPresenter::Create(xcb_connection_t* c, uint32_t window, int width, int height,
                                                   bool allowSharedMemory) {
  if (!c || xcb_connection_has_error(c) || !window || width <= 0 || height <= 0) return nullptr;
  if (!KeepsOurPixels(c, window)) return nullptr;
  std::unique_ptr<XcbPresenter> p(new XcbPresenter(c, window, width, height));
  if (allowSharedMemory) p->AttachSharedMemory();
  return p;
}

XcbPresenter::XcbPresenter(xcb_connection_t* c, uint32_t window, int width, int height)
    : connection_(c), window_(window), width_(width), height_(height) {
  gc_ = xcb_generate_id(c);
  // Drawing onto the window must not ask for expose events of its own.
  const uint32_t noExposures = 0;
  xcb_create_gc(c, gc_, window, XCB_GC_GRAPHICS_EXPOSURES, &noExposures);
}

XcbPresenter::~XcbPresenter() {
  for (uint32_t pixmap : kept_)
    if (pixmap) xcb_free_pixmap(connection_, pixmap);
  if (shared_) {
    xcb_shm_detach(connection_, segment_);
    // The server must let go of the segment before it disappears here.
    std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
    shmdt(shared_);
  }
  xcb_free_gc(connection_, gc_);
  xcb_flush(connection_);
}

// A server on another machine cannot attach our segment; it answers with an
// error, and the presenter then sends PutImage requests.
bool XcbPresenter::AttachSharedMemory() {
  const xcb_query_extension_reply_t* ext = xcb_get_extension_data(connection_, &xcb_shm_id);
  if (!ext || !ext->present) return false;
  const size_t bytes = sizeof(uint32_t) * static_cast<size_t>(width_) * static_cast<size_t>(height_);
  const int id = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
  if (id < 0) return false;
  void* at = shmat(id, nullptr, 0);
  if (at == reinterpret_cast<void*>(-1)) {
    shmctl(id, IPC_RMID, nullptr);
    return false;
  }
  segment_ = xcb_generate_id(connection_);
  xcb_generic_error_t* error =
      xcb_request_check(connection_, xcb_shm_attach_checked(connection_, segment_, static_cast<uint32_t>(id), 0));
  // Marked for removal now: it goes away by itself once both sides let go,
  // even if this program is killed.
  shmctl(id, IPC_RMID, nullptr);
  if (error) {
    std::free(error);
    shmdt(at);
    return false;
  }
  shared_ = static_cast<uint32_t*>(at);
  return true;
}

void XcbPresenter::Put(const uint32_t* pixels, int stride, const std::vector<ScreenRect>& rects) {
  for (const ScreenRect& given : rects) {
    const ScreenRect r = Clipped(given, width_, height_);
    if (r.w <= 0 || r.h <= 0) continue;
    if (!shared_) {
      PutRequests(pixels, stride, r);
      continue;
    }
    // The server reads the shared image when it handles the request, well
    // before the next step writes the next frame over it.
    const bool inPlace = pixels == shared_ && stride == width_;
    for (int y = r.y; y < r.y + r.h && !inPlace; ++y)
      std::memcpy(&shared_[static_cast<size_t>(y) * width_ + r.x], &pixels[static_cast<size_t>(y) * stride + r.x],
                  sizeof(uint32_t) * static_cast<size_t>(r.w));
    xcb_shm_put_image(connection_, window_, gc_, static_cast<uint16_t>(width_), static_cast<uint16_t>(height_),
                      static_cast<uint16_t>(r.x), static_cast<uint16_t>(r.y), static_cast<uint16_t>(r.w),
                      static_cast<uint16_t>(r.h), static_cast<int16_t>(r.x), static_cast<int16_t>(r.y), 24,
                      XCB_IMAGE_FORMAT_Z_PIXMAP, 0, segment_, 0);
  }
  xcb_flush(connection_);
}

bool XcbPresenter::Keep(int slot) {
  if (!shared_ || cannotKeep_ || slot < 0 || slot >= kKeptPictures) return false;
  uint32_t& pixmap = kept_[slot];
  if (!pixmap) {
    const uint32_t id = xcb_generate_id(connection_);
    // Checked once per picture: a server short of memory refuses it, and
    // is not asked again.
    xcb_generic_error_t* error = xcb_request_check(
        connection_, xcb_create_pixmap_checked(connection_, 24, id, window_, static_cast<uint16_t>(width_),
                                               static_cast<uint16_t>(height_)));
    if (error) {
      std::free(error);
      cannotKeep_ = true;
      return false;
    }
    pixmap = id;
  }
  xcb_shm_put_image(connection_, pixmap, gc_, static_cast<uint16_t>(width_), static_cast<uint16_t>(height_), 0, 0,
                    static_cast<uint16_t>(width_), static_cast<uint16_t>(height_), 0, 0, 24,
                    XCB_IMAGE_FORMAT_Z_PIXMAP, 0, segment_, 0);
  xcb_flush(connection_);
  return true;
}

void XcbPresenter::ShowKept(int slot, const std::vector<ScreenRect>& rects) {
  if (slot < 0 || slot >= kKeptPictures || !kept_[slot]) return;
  for (const ScreenRect& given : rects) {
    const ScreenRect r = Clipped(given, width_, height_);
    if (r.w <= 0 || r.h <= 0) continue;
    xcb_copy_area(connection_, kept_[slot], window_, gc_, static_cast<int16_t>(r.x), static_cast<int16_t>(r.y),
                  static_cast<int16_t>(r.x), static_cast<int16_t>(r.y), static_cast<uint16_t>(r.w),
                  static_cast<uint16_t>(r.h));
  }
  xcb_flush(connection_);
}

// PutImage carries the pixels in the request, packed row after row; a
// rectangle larger than the server takes in one request goes in bands.
void XcbPresenter::PutRequests(const uint32_t* pixels, int stride, const ScreenRect& r) {
  constexpr size_t kHeader = 24;  // a PutImage request's fixed part
  const size_t maxBytes = 4 * static_cast<size_t>(xcb_get_maximum_request_length(connection_));
  const size_t rowBytes = sizeof(uint32_t) * static_cast<size_t>(r.w);
  const int bandRows = static_cast<int>(std::max<size_t>(1, (maxBytes - kHeader) / rowBytes));
  for (int top = r.y; top < r.y + r.h; top += bandRows) {
    const int rows = std::min(bandRows, r.y + r.h - top);
    packed_.resize(static_cast<size_t>(r.w) * rows);
    for (int y = 0; y < rows; ++y)
      std::memcpy(&packed_[static_cast<size_t>(y) * r.w], &pixels[static_cast<size_t>(top + y) * stride + r.x],
                  rowBytes);
    xcb_put_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, window_, gc_, static_cast<uint16_t>(r.w),
                  static_cast<uint16_t>(rows), static_cast<int16_t>(r.x), static_cast<int16_t>(top), 0, 24,
                  static_cast<uint32_t>(rowBytes * rows), reinterpret_cast<const uint8_t*>(packed_.data()));
  }
}
