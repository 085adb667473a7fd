#pragma once

class QApplication;

namespace kestrin::app {

// The font and settings the window is laid out for: captions are sized for a
// 12-pixel CJK font.
void setUpApplication(QApplication& application);

} // namespace kestrin::app
