#pragma once
// The Qt application of the widget benchmarks.

class QApplication;

namespace pelmora::bench {

/// The one application of this benchmark program, named programName and made on the
/// first call; offscreen unless QT_QPA_PLATFORM names another platform.
QApplication& BenchApplication(const char* programName);

} // namespace pelmora::bench
