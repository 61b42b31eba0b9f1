#include <gtest/gtest.h>
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "win/base/Text.h"
#include "win/mail/WinSocket.h"

namespace vq::win {
namespace {

// Set around every call on the socket: no event may arrive then.
bool insideCall = false;

struct Recorder : SocketEvents {
  void Add(std::string event) {
    EXPECT_FALSE(insideCall) << event << " delivered from inside a call";
    events.push_back(std::move(event));
  }
  void OnConnect() override { Add("connect"); }
  void OnDataArrival(std::string_view bytes) override {
    Add("data:" + std::string(bytes));
    if (onData) onData();
  }
  void OnSendComplete() override { Add("sent"); }
  void OnClose() override { Add("close"); }
  void OnError(int code, std::string_view text) override {
    Add("error:" + std::to_string(code));
    description = text;
  }
  std::vector<std::string> events;
  std::string description;
  std::function<void()> onData;
};

// Runs the message loop until done() or the time is up.
void Pump(const std::function<bool()>& done, DWORD milliseconds = 5000) {
  DWORD start = GetTickCount();
  while (!done() && GetTickCount() - start < milliseconds) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }
}

// A blocking server for one connection on a loopback address, running its script on a thread.
class Peer {
 public:
  explicit Peer(std::function<void(SOCKET)> script, int family = AF_INET) {
    listener_ = socket(family, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_storage address{};
    int length = Loopback(family, address);
    if (bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 || listen(listener_, 1) != 0) return;
    getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(reinterpret_cast<sockaddr_in*>(&address)->sin_port);  // same place for IPv6
    thread_ = std::thread([this, script] {
      SOCKET connection = accept(listener_, nullptr, nullptr);
      if (connection == INVALID_SOCKET) return;
      script(connection);
      closesocket(connection);
    });
  }
  ~Peer() {
    closesocket(listener_);
    if (thread_.joinable()) thread_.join();
  }
  static int Loopback(int family, sockaddr_storage& address) {
    if (family == AF_INET6) {
      auto& v6 = reinterpret_cast<sockaddr_in6&>(address);
      v6.sin6_family = AF_INET6;
      v6.sin6_addr = in6addr_loopback;
      return sizeof v6;
    }
    auto& v4 = reinterpret_cast<sockaddr_in&>(address);
    v4.sin_family = AF_INET;
    v4.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return sizeof v4;
  }
  int Port() const { return port_; }

 private:
  SOCKET listener_ = INVALID_SOCKET;
  int port_ = 0;
  std::thread thread_;
};

// Reads until the bytes received end with the given text (or the connection ends).
std::string ReadUntil(SOCKET s, const std::string& end) {
  std::string got;
  char buffer[65536];
  while (got.size() < end.size() || got.compare(got.size() - end.size(), end.size(), end) != 0) {
    int n = recv(s, buffer, sizeof buffer, 0);
    if (n <= 0) break;
    got.append(buffer, n);
  }
  return got;
}

void SendText(SOCKET s, const std::string& text) { send(s, text.data(), static_cast<int>(text.size()), 0); }

std::string Ansi(const std::string& utf8) {
  std::wstring wide = Widen(utf8);
  std::string out(wide.size() * 2, '\0');
  out.resize(WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), out.data(),
                                 static_cast<int>(out.size()), nullptr, nullptr));
  return out;
}

class WinSocketTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    socket.SetEvents(&recorder);
  }
  void TearDown() override { WSACleanup(); }
  int Connect(const std::string& host, int port) {
    insideCall = true;
    int result = socket.Connect(host, port);
    insideCall = false;
    return result;
  }
  int Send(const std::string& text) {
    insideCall = true;
    int result = socket.Send(text);
    insideCall = false;
    return result;
  }
  void Close() {
    insideCall = true;
    socket.Close();
    insideCall = false;
  }
  void WaitFor(size_t count) {
    Pump([&] { return recorder.events.size() >= count; });
  }

  Recorder recorder;
  WinSocket socket;
};

TEST_F(WinSocketTest, TalksWithAPeerAndReportsItsCloseByAddressOrName) {
  struct Case {
    const char* host;
    int family;
  };
  for (Case c : {Case{"127.0.0.1", AF_INET}, Case{"localhost", AF_INET}, Case{"::1", AF_INET6}}) {
    SCOPED_TRACE(c.host);
    recorder.events.clear();
    std::string received;
    {
      Peer peer(
          [&](SOCKET s) {
            SendText(s, "+OK ready\r\n");
            received = ReadUntil(s, "QUIT\r\n");
            SendText(s, "+OK bye\r\n");
          },
          c.family);
      ASSERT_NE(peer.Port(), 0) << "no loopback listener for this family";
      ASSERT_EQ(Connect(c.host, peer.Port()), 0);
      EXPECT_FALSE(socket.IsClosed());
      WaitFor(2);
      EXPECT_EQ(Send("USER ユーザー\r\n"), 0);
      EXPECT_EQ(Send("QUIT\r\n"), 0);
      WaitFor(5);
    }
    EXPECT_EQ(recorder.events,
              (std::vector<std::string>{"connect", "data:+OK ready\r\n", "sent", "data:+OK bye\r\n", "close"}));
    EXPECT_EQ(received, Ansi("USER ユーザー\r\nQUIT\r\n"));
    // What a peer says reads the same in UTF-8 or in the system's code page.
    EXPECT_EQ(socket.TextFromWire(Ansi("パスワードが違います")), "パスワードが違います");
    EXPECT_EQ(socket.TextFromWire("パスワード"), "パスワード");
    EXPECT_FALSE(socket.IsClosed());
    Close();
    EXPECT_TRUE(socket.IsClosed());
  }
}

TEST_F(WinSocketTest, FailuresArriveAsErrorEventsAndLeaveTheSocketOpenUntilClosed) {
  // A port held without listening: refused, and no other test socket can take it meanwhile.
  SOCKET holder = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_storage address{};
  int length = Peer::Loopback(AF_INET, address);
  bind(holder, reinterpret_cast<sockaddr*>(&address), length);
  getsockname(holder, reinterpret_cast<sockaddr*>(&address), &length);
  int closedPort = ntohs(reinterpret_cast<sockaddr_in&>(address).sin_port);
  Peer resetting([](SOCKET s) {
    ReadUntil(s, "QUIT\r\n");
    linger abort{1, 0};
    setsockopt(s, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&abort), sizeof abort);
  });
  // Wine reads a reset of the peer as an orderly end (its FD_CLOSE carries no error).
  bool wine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
  struct Case {
    std::string host;
    int port;
    std::vector<std::string> events;
  };
  for (const Case& c : {Case{"127.0.0.1", closedPort, {"error:10061"}},
                        Case{"no-such-host.invalid", 110, {"error:11001"}}, Case{"", 110, {"error:11001"}},
                        Case{"127.0.0.1", resetting.Port(), {"connect", "sent", wine ? "close" : "error:10054"}}}) {
    SCOPED_TRACE(c.host + ":" + std::to_string(c.port));
    recorder.events.clear();
    recorder.description.clear();
    ASSERT_EQ(Connect(c.host, c.port), 0);
    if (c.events.size() > 1) {
      WaitFor(1);
      EXPECT_EQ(Send("QUIT\r\n"), 0);
    }
    WaitFor(c.events.size());
    Pump([] { return false; }, 100);
    EXPECT_EQ(recorder.events, c.events);
    if (c.events.back().rfind("error:", 0) == 0) {
      EXPECT_FALSE(recorder.description.empty());
      EXPECT_NE(recorder.description.back(), '\n');
    }
    EXPECT_FALSE(socket.IsClosed());
    Close();
  }
  closesocket(holder);
}

TEST_F(WinSocketTest, RefusesAtOnceWhatCannotStart) {
  EXPECT_EQ(Send("STAT\r\n"), 10057);
  for (int port : {0, -1, 65536}) {
    EXPECT_EQ(Connect("127.0.0.1", port), 10049) << port;
    EXPECT_TRUE(socket.IsClosed());
  }
  Pump([] { return false; }, 200);
  EXPECT_TRUE(recorder.events.empty());
}

TEST_F(WinSocketTest, CloseDropsEveryLaterEvent) {
  Peer peer([](SOCKET s) {
    SendText(s, "+OK ready\r\n");
    ReadUntil(s, "QUIT\r\n");
  });
  // A name on its way through the resolver, a connection under way, a send not yet reported.
  ASSERT_EQ(Connect("localhost", 110), 0);
  Close();
  ASSERT_EQ(Connect("127.0.0.1", peer.Port()), 0);
  Close();
  Pump([] { return false; }, 300);
  EXPECT_TRUE(recorder.events.empty());

  Peer second([](SOCKET s) {
    SendText(s, "+OK ready\r\n");
    ReadUntil(s, "QUIT\r\n");
  });
  ASSERT_EQ(Connect("127.0.0.1", second.Port()), 0);
  WaitFor(2);
  recorder.events.clear();
  ASSERT_EQ(Send("QUIT\r\n"), 0);
  Close();
  Pump([] { return false; }, 300);
  EXPECT_TRUE(recorder.events.empty());

  // Closed from inside an event: the peer's close that follows its last words is not reported.
  Peer third([](SOCKET s) { SendText(s, "+OK bye\r\n"); });
  recorder.onData = [this] { socket.Close(); };
  ASSERT_EQ(Connect("127.0.0.1", third.Port()), 0);
  Pump([] { return false; }, 300);
  EXPECT_EQ(recorder.events, (std::vector<std::string>{"connect", "data:+OK bye\r\n"}));
}

// A listener whose queue is full drops further attempts without a word, as a route that leads
// nowhere does: the next address is tried once this one had its share.
TEST_F(WinSocketTest, ASilentAddressHasItsShareOfTimeThenTheNextIsTried) {
  SOCKET silent = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_storage address{};
  int length = Peer::Loopback(AF_INET, address);
  bind(silent, reinterpret_cast<sockaddr*>(&address), length);
  listen(silent, 0);
  getsockname(silent, reinterpret_cast<sockaddr*>(&address), &length);
  std::vector<SOCKET> queued(4);
  for (SOCKET& s : queued) {
    u_long nonBlocking = 1;
    ioctlsocket(s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP), FIONBIO, &nonBlocking);
    connect(s, reinterpret_cast<sockaddr*>(&address), length);
  }
  Sleep(200);  // the queue fills
  Peer peer([](SOCKET s) { SendText(s, "+OK ready\r\n"), ReadUntil(s, "until the client closes"); });
  static std::vector<SocketAddress> planted{{address, length, AF_INET}, {address, length, AF_INET}};
  reinterpret_cast<sockaddr_in&>(planted[1].address).sin_port = htons(static_cast<u_short>(peer.Port()));
  WinSocket shared([](const std::wstring&, const std::wstring&, int) { return planted; }, 300);
  shared.SetEvents(&recorder);
  const DWORD start = GetTickCount();
  ASSERT_EQ(shared.Connect("two.test", 110), 0);
  Pump([&] { return recorder.events.size() >= 2; });
  EXPECT_EQ(recorder.events, (std::vector<std::string>{"connect", "data:+OK ready\r\n"}));
  EXPECT_GE(GetTickCount() - start, 300u);
  shared.Close();
  for (SOCKET s : queued) closesocket(s);
  closesocket(silent);
}

TEST_F(WinSocketTest, ALargeSendIsReportedOnceWhenAllOfItLeft) {
  const std::string payload(32 << 20, 'x');
  std::atomic<size_t> received = 0;
  Peer peer([&](SOCKET s) {
    Sleep(300);  // let the client's buffers fill first
    received = ReadUntil(s, "\r\n").size();
    ReadUntil(s, "until the client closes");
  });
  ASSERT_EQ(Connect("127.0.0.1", peer.Port()), 0);
  WaitFor(1);
  ASSERT_EQ(Send(payload + "\r\n"), 0);
  Pump([&] { return recorder.events.size() >= 2; }, 20000);
  Pump([] { return false; }, 200);
  EXPECT_EQ(recorder.events, (std::vector<std::string>{"connect", "sent"}));
  Pump([&] { return received != 0; }, 5000);
  EXPECT_EQ(received, payload.size() + 2);
  Close();
}

}  // namespace
}  // namespace vq::win
