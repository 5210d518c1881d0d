// Fuzz entry point of picture recognition and loading: the first byte chooses whether
// ReadPictureStream starts at the stream's start or at a position inside it, the rest
// is the stream. Any bytes are recognised and loaded, refused with E_INVALIDARG, or
// raise TPictureError, always leaving a consistent picture; a loaded picture's own bytes
// are recognised again as the same picture. The same bytes are also read as the "Data"
// record of a template's picture.
#include <cstdint>
#include <cstdlib>

#include "platform/Stream.h"
#include "report/frxClassPicture.h"

namespace {

void ReadAsStream(TfrxPictureView& view, const uint8_t* data, size_t size) {
  if (size == 0) return;
  const bool fromStart = (data[0] & 1) != 0;
  TMemoryStream stream;
  stream.WriteBuffer(data + 1, static_cast<int64_t>(size - 1));
  stream.SetPosition(std::min<int64_t>(data[0] >> 1, static_cast<int64_t>(size - 1)));
  int32_t result = E_INVALIDARG;
  try {
    result = view.ReadPictureStream(stream, fromStart);
  } catch (const TPictureError&) {
    if (!view.Picture().Empty()) std::abort();  // a failed load keeps nothing
    return;
  }
  if ((result == frxS_OK) == view.Picture().Empty()) std::abort();
  if (result != frxS_OK) return;

  TMemoryStream again;
  view.SavePictureData(again);
  TfrxPictureView copy(nullptr);
  if (copy.ReadPictureStream(again, true) != frxS_OK) std::abort();
  if (copy.Picture().Graphic().Kind() != view.Picture().Graphic().Kind() ||
      copy.Picture().Graphic().Data() != view.Picture().Graphic().Data())
    std::abort();
}

void ReadAsRecord(TfrxPictureView& view, const uint8_t* data, size_t size) {
  TMemoryStream stream;
  stream.WriteBuffer(data, static_cast<int64_t>(size));
  stream.SetPosition(0);
  try {
    view.Picture().ReadData(stream);
  } catch (const TPictureError&) {
    if (!view.Picture().Empty()) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TfrxPictureView view(nullptr);
  ReadAsStream(view, data, size);
  ReadAsRecord(view, data, size);
  return 0;
}
