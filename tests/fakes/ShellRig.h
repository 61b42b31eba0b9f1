#pragma once
#include <array>

#include "base/Addresses.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeDesktop.h"
#include "fakes/FakeDialogs.h"
#include "fakes/FakeEditorView.h"
#include "fakes/FakeMailResultView.h"
#include "fakes/FakeNoteFiles.h"
#include "fakes/FakeNoteView.h"
#include "fakes/FakeOptionsView.h"
#include "fakes/FakeProfileFile.h"
#include "fakes/FakeSecurityLayer.h"
#include "fakes/FakeSocket.h"
#include "fakes/FakeSystem.h"
#include "fakes/FakeTimers.h"
#include "fakes/FakeTray.h"
#include "fakes/FakeUserFolders.h"
#include "shell/ResidentShell.h"

namespace vq::test {

// The resident shell with every port faked; a test prepares the fakes, then starts the shell.
struct ShellRig {
  shell::ShellPorts Ports() {
    return {file,
            folders,
            tray,
            timers,
            noteFiles,
            noteViews,
            editorViews,
            optionsViews,
            mailViews,
            AddressesOf<Socket>(sockets),
            AddressesOf<SecurityLayer>(layers),
            desktop,
            system,
            clock,
            dialogs};
  }

  FakeProfileFile file;
  FakeUserFolders folders;
  FakeTray tray;
  FakeTimers timers;
  FakeNoteFiles noteFiles;
  FakeNoteViews noteViews;
  FakeEditorViews editorViews;
  FakeOptionsViews optionsViews;
  FakeMailResultViews mailViews;
  std::array<FakeSocket, kAccountCount> sockets;
  std::array<FakeSecurityLayer, kAccountCount> layers;
  FakeDesktop desktop;
  FakeSystem system;
  FakeClock clock;
  FakeDialogs dialogs;
  shell::ResidentShell shell{Ports()};
};

}  // namespace vq::test
