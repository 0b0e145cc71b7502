#pragma once
// What the magnifier's view shows, as source pixels: the pixels of the clip as they were when
// they were last painted. Comparing a changed picture against it finds the blocks that need
// repainting while reading no more of the picture than the view shows, however large it is.
#include <QRect>

#include "platform/bitmap.h"

class LupeShownPixels {
  public:
    // The clip, in source coordinates, moved or changed size. What still lies inside it is
    // kept; what it uncovers is taken from source as it is now, since the move paints it.
    void SetClip(const QRect& clip, const Bitmap& source);
    const QRect& Clip() const { return clip_; }

    // The pixels of area (source coordinates) were painted from source.
    void Record(const Bitmap& source, const QRect& area);

    // The smallest rectangle of the clip holding every pixel where source differs from what
    // was painted; empty when nothing changed.
    QRect Changed(const Bitmap& source) const;

  private:
    QRect clip_;
    // clip_-sized; spare_ is the buffer the next clip is built in, so moving allocates nothing.
    Bitmap pixels_;
    Bitmap spare_;
};
