#pragma once
// Where start-up time goes, in a build configured with -DVQ_STARTUP_PROFILE=ON only: spans of
// the start are added up per kind, and one line of totals is appended to the file that the
// environment variable VQ_STARTUP_PROFILE names once the start is over and the first paints are
// done (a timer message comes only when no paint is due). In the product every macro here is empty.

namespace vq::win::profile {

enum Phase {
  kStart,       // App::Start, all of it
  kSettings,    // the settings file: existence test, reads, first-start writes
  kFolders,     // the Startup folder, for the first start's defaults
  kTrayIcon,    // Shell_NotifyIcon
  kNoteFiles,   // reading note files
  kNoteWindow,  // creating a note window
  kFonts,       // creating fonts
  kMeasure,     // measuring the note's lines
  kMonitor,     // DPI and monitor questions before placing a note
  kShow,        // the one SetWindowPos that places, sizes and shows a note
  kPlaceRead,   // reading back where the note landed
  kCountdown,   // the countdown timer
  kLayer,       // stacking calls
  kPaint,       // WM_PAINT of the notes
  kPhaseCount
};

#ifdef VQ_STARTUP_PROFILE
class Span {
 public:
  explicit Span(Phase phase);
  ~Span();
  Span(const Span&) = delete;
  Span& operator=(const Span&) = delete;

 private:
  Phase phase_;
  long long start_;
};
// Writes the totals from the message loop, after the paints the start leaves.
void ReportSoon();
#define VQ_PROFILE_CONCAT2(a, b) a##b
#define VQ_PROFILE_CONCAT(a, b) VQ_PROFILE_CONCAT2(a, b)
#define VQ_PROFILE(phase) ::vq::win::profile::Span VQ_PROFILE_CONCAT(vqProfileSpan, __LINE__)(::vq::win::profile::phase)
#define VQ_PROFILE_REPORT() ::vq::win::profile::ReportSoon()
#else
#define VQ_PROFILE(phase) ((void)0)
#define VQ_PROFILE_REPORT() ((void)0)
#endif

}  // namespace vq::win::profile
