// The window's icons: SVG pictures bundled with the program, rendered through Qt SVG at every size
// asked for, so that they stay sharp on any screen and need no image plug-in.
#pragma once

#include <QIcon>

namespace qv {

enum class TToolIcon { Open, SaveAs, OpenInQuorvela, About, Colors, Pan, Rotate, Zoom, Orbit, Exit, Clipboard, Application };

QIcon ToolIcon(TToolIcon which);

}  // namespace qv
