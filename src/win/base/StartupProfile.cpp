#include "win/base/StartupProfile.h"

#ifdef VQ_STARTUP_PROFILE
#include <windows.h>

#include <cstdio>

namespace vq::win::profile {

namespace {

long long totals[kPhaseCount];
int counts[kPhaseCount];
const char* const kNames[kPhaseCount] = {"start",       "settings",  "folders", "tray-icon", "note-files",
                                         "note-window", "fonts",     "measure", "monitor",   "show",
                                         "place-read",  "countdown", "layer",   "paint"};

long long Ticks() {
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return t.QuadPart;
}

void CALLBACK Report(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  wchar_t path[MAX_PATH];
  if (!GetEnvironmentVariableW(L"VQ_STARTUP_PROFILE", path, MAX_PATH)) return;
  FILE* out = _wfopen(path, L"a");
  if (!out) return;
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  for (int i = 0; i < kPhaseCount; ++i)
    std::fprintf(out, "%s%s %.3f %d", i ? " " : "", kNames[i], 1000.0 * totals[i] / frequency.QuadPart, counts[i]);
  std::fprintf(out, "\n");
  std::fclose(out);
}

}  // namespace

Span::Span(Phase phase) : phase_(phase), start_(Ticks()) {}

Span::~Span() {
  totals[phase_] += Ticks() - start_;
  ++counts[phase_];
}

void ReportSoon() { SetTimer(nullptr, 0, 10, Report); }

}  // namespace vq::win::profile
#endif
