#pragma once
// The program's own icons, drawn in code so no image file can be missing.

#include <QIcon>

enum class IconKind { Play, Stop, SelectAll, DeselectAll, Options, Program };

QIcon MakeIcon(IconKind kind);
