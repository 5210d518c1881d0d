#pragma once
// The graphics module: the font, pen and brush enumerations, the standard colours, and
// TFont, TPen, TBrush, TCanvas, TGraphic, TPicture, TMetafile, TMetafileCanvas and TBitmap.
//
// Reduced form on this platform: fonts, pens and brushes keep their settings; a canvas
// (a bitmap's, or a metafile canvas) draws onto a recording of the picture's size, so
// shapes, text and measuring (TextWidth, TextHeight) work, but what is drawn does not
// become the bitmap's pixels and Pixels cannot be read back ("Reading pixels is not
// available on this platform"). Pictures load and save their files as they are
// (bitmaps, icons, metafiles, JPEG and PNG), with their sizes.

#include <memory>
#include <string>

#include "script/fs_iinterpreter.h"

class TPicture;

// A picture as TGraphic's and TPicture's members reach it: the module's own pictures, and
// the host's (a picture view's picture) when the host's object implements this.
class TfsPictureAccess {
 public:
  virtual ~TfsPictureAccess() = default;
  virtual const TPicture& Picture() const = 0;
  virtual void LoadPicture(const std::string& fileName) = 0;
};

// A new picture object of the graphic class (TBitmap, TJPEGImage...) for a script.
TfsHostObject* fsNewGraphic(const std::string& className);

std::unique_ptr<TfsRTTIModule> fsCreateGraphicsRTTI(TfsScript& script);
