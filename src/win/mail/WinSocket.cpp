#include "win/mail/WinSocket.h"

#include <ws2tcpip.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <iterator>

#include "win/base/Text.h"
#include "win/mail/NetApi.h"

namespace vq::win {
namespace {

constexpr wchar_t kWindowClass[] = L"Vornquill2.Socket";
constexpr UINT kResolvedMessage = WM_APP + 1;  // wParam: generation
constexpr UINT kDeferredMessage = WM_APP + 2;  // wParam: generation
// Each socket made gets the next of 256 message numbers for its notifications: a closed
// handle's value may come back for the next socket while notifications of the old one still wait.
constexpr UINT kFirstSocketMessage = WM_APP + 0x100;
constexpr UINT kSocketMessageCount = 0x100;
constexpr long kSocketEvents = FD_CONNECT | FD_READ | FD_WRITE | FD_CLOSE;
// A peer that keeps sending must not hold the message loop: what is left comes with the next
// notification.
constexpr size_t kMostReadAtOnce = 1 << 20;

std::vector<SocketAddress> Resolve(const std::wstring& host, const std::wstring& service, int flags) {
  ADDRINFOW hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_protocol = IPPROTO_TCP;
  hints.ai_flags = flags;
  ADDRINFOW* list = nullptr;
  std::vector<SocketAddress> addresses;
  if (net::GetAddrInfoW(host.c_str(), service.c_str(), &hints, &list) != 0) return addresses;
  for (ADDRINFOW* info = list; info; info = info->ai_next) {
    if (info->ai_addrlen > sizeof(sockaddr_storage)) continue;
    SocketAddress address;
    std::copy_n(reinterpret_cast<const char*>(info->ai_addr), info->ai_addrlen,
                reinterpret_cast<char*>(&address.address));
    address.length = static_cast<int>(info->ai_addrlen);
    address.family = info->ai_family;
    addresses.push_back(address);
  }
  net::FreeAddrInfoW(list);
  return addresses;
}

struct ErrorName {
  int code;
  const char* name;
};
constexpr ErrorName kErrorNames[] = {
    {10004, "WSAEINTR"},           {10009, "WSAEBADF"},        {10013, "WSAEACCES"},
    {10014, "WSAEFAULT"},          {10022, "WSAEINVAL"},       {10024, "WSAEMFILE"},
    {10035, "WSAEWOULDBLOCK"},     {10036, "WSAEINPROGRESS"},  {10037, "WSAEALREADY"},
    {10038, "WSAENOTSOCK"},        {10039, "WSAEDESTADDRREQ"}, {10040, "WSAEMSGSIZE"},
    {10041, "WSAEPROTOTYPE"},      {10042, "WSAENOPROTOOPT"},  {10043, "WSAEPROTONOSUPPORT"},
    {10044, "WSAESOCKTNOSUPPORT"}, {10045, "WSAEOPNOTSUPP"},   {10046, "WSAEPFNOSUPPORT"},
    {10047, "WSAEAFNOSUPPORT"},    {10048, "WSAEADDRINUSE"},   {10049, "WSAEADDRNOTAVAIL"},
    {10050, "WSAENETDOWN"},        {10051, "WSAENETUNREACH"},  {10052, "WSAENETRESET"},
    {10053, "WSAECONNABORTED"},    {10054, "WSAECONNRESET"},   {10055, "WSAENOBUFS"},
    {10056, "WSAEISCONN"},         {10057, "WSAENOTCONN"},     {10058, "WSAESHUTDOWN"},
    {10059, "WSAETOOMANYREFS"},    {10060, "WSAETIMEDOUT"},    {10061, "WSAECONNREFUSED"},
    {10062, "WSAELOOP"},           {10063, "WSAENAMETOOLONG"}, {10064, "WSAEHOSTDOWN"},
    {10065, "WSAEHOSTUNREACH"},    {10066, "WSAENOTEMPTY"},    {10067, "WSAEPROCLIM"},
    {10068, "WSAEUSERS"},          {10069, "WSAEDQUOT"},       {10070, "WSAESTALE"},
    {10071, "WSAEREMOTE"},         {10091, "WSASYSNOTREADY"},  {10092, "WSAVERNOTSUPPORTED"},
    {10093, "WSANOTINITIALISED"},  {10101, "WSAEDISCON"},      {11001, "WSAHOST_NOT_FOUND"},
    {11002, "WSATRY_AGAIN"},       {11003, "WSANO_RECOVERY"},  {11004, "WSANO_DATA"},
};

}  // namespace

// What the resolver thread and the socket share; whichever lets go last frees it.
struct SocketResolution {
  WinSocket::Resolver resolver = nullptr;
  HWND window = nullptr;
  std::uint32_t generation = 0;
  std::wstring host;
  std::wstring service;
  std::vector<SocketAddress> addresses;
  std::atomic<bool> done{false};
};

namespace {

DWORD WINAPI ResolveOnWorker(void* parameter) {
  std::unique_ptr<std::shared_ptr<SocketResolution>> holder(static_cast<std::shared_ptr<SocketResolution>*>(parameter));
  SocketResolution& job = **holder;
  // Its own reference to the library: the socket may be gone, and the library cleaned up, first.
  WSADATA data;
  bool started = net::WSAStartup(MAKEWORD(2, 2), &data) == 0;
  job.addresses = job.resolver(job.host, job.service, 0);
  if (started) net::WSACleanup();
  job.done.store(true, std::memory_order_release);
  PostMessageW(job.window, kResolvedMessage, job.generation, 0);
  return 0;
}

}  // namespace

WinSocket::WinSocket(Resolver resolver, DWORD addressShareMs)
    : resolver_(resolver ? resolver : Resolve), addressShareMs_(addressShareMs) {}

WinSocket::~WinSocket() {
  if (deliveryAlive_) *deliveryAlive_ = false;
  Close();
  Destroy();
  if (winsockStarted_) net::WSACleanup();
}

void WinSocket::SetEvents(SocketEvents* events) { events_ = events; }

bool WinSocket::IsClosed() const { return closed_; }

UINT WinSocket::SocketMessage() const { return kFirstSocketMessage + attempts_ % kSocketMessageCount; }

int WinSocket::Connect(std::string_view host, int port) {
  Close();
  if (!winsockStarted_) {
    // Windows Sockets start with the first connection, not with the program.
    WSADATA data;
    int error = net::WSAStartup(MAKEWORD(2, 2), &data);
    if (error) return error;
    winsockStarted_ = true;
  }
  // The window that takes the notifications comes with the first connection, as the library does.
  if (!EnsureWindow(kWindowClass)) return WSAENOBUFS;
  if (port < 1 || port > 65535) return WSAEADDRNOTAVAIL;
  closed_ = false;
  std::wstring wideHost = Widen(host);
  std::wstring service = Widen(std::to_string(port));
  if (host.empty()) {
    // The resolver would answer an empty name with this machine's own addresses.
    deferredError_ = WSAHOST_NOT_FOUND;
    Defer();
    return 0;
  }
  // An address needs no name server, and so no thread.
  addresses_ = resolver_(wideHost, service, AI_NUMERICHOST);
  if (!addresses_.empty()) {
    int error = ConnectNext();
    if (error) Close();
    return error;
  }
  auto job = std::make_shared<SocketResolution>();
  job->resolver = resolver_;
  job->window = hwnd_;
  job->generation = generation_;
  job->host = std::move(wideHost);
  job->service = std::move(service);
  auto* holder = new std::shared_ptr<SocketResolution>(job);
  HANDLE thread = CreateThread(nullptr, 0, ResolveOnWorker, holder, 0, nullptr);
  if (!thread) {
    delete holder;
    Close();
    return WSAENOBUFS;
  }
  CloseHandle(thread);
  resolution_ = std::move(job);
  return 0;
}

// Starts a connection to the next address not yet tried: 0 when one is under way (FD_CONNECT
// follows), else the error of the last address tried.
int WinSocket::ConnectNext() {
  StopAddressTimer();
  while (nextAddress_ < addresses_.size()) {
    const SocketAddress& address = addresses_[nextAddress_++];
    ++attempts_;
    UniqueSocket attempt(net::socket(address.family, SOCK_STREAM, IPPROTO_TCP));
    if (!attempt || net::WSAAsyncSelect(attempt.get(), hwnd_, SocketMessage(), kSocketEvents) != 0) {
      lastError_ = net::WSAGetLastError();
      continue;
    }
    if (net::connect(attempt.get(), reinterpret_cast<const sockaddr*>(&address.address), address.length) == 0) {
      socket_ = std::move(attempt);
      connected_ = true;
      deferredConnect_ = true;
      Defer();
      return 0;
    }
    int error = net::WSAGetLastError();
    if (error == WSAEWOULDBLOCK) {
      socket_ = std::move(attempt);
      // The timer's number is the attempt's, so that a tick of an earlier one still queued is
      // told apart.
      if (nextAddress_ < addresses_.size() && SetTimer(hwnd_, attempts_, addressShareMs_, nullptr))
        addressTimer_ = attempts_;
      return 0;
    }
    lastError_ = error;
  }
  return lastError_ ? lastError_ : WSAHOST_NOT_FOUND;
}

void WinSocket::StopAddressTimer() {
  if (addressTimer_) KillTimer(hwnd_, addressTimer_);
  addressTimer_ = 0;
}

// The address tried has had its share without a word: the next one is tried.
void WinSocket::OnAddressSilent() {
  StopAddressTimer();
  if (connected_ || !socket_) return;
  socket_.Reset();
  lastError_ = WSAETIMEDOUT;
  if (int error = ConnectNext()) Fail(error);
}

int WinSocket::Send(std::string_view text) { return SendBytes(ToAnsi(text)); }

std::size_t WinSocket::WireLength(std::string_view text) const { return ToAnsi(text).size(); }

std::string WinSocket::TextFromWire(std::string_view bytes) const {
  const int size = static_cast<int>(std::min<size_t>(bytes.size(), INT_MAX));
  if (size == 0 || MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0) > 0)
    return std::string(bytes);
  std::wstring wide(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0)), L'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, wide.data(), static_cast<int>(wide.size()));
  return Narrow(wide);
}

int WinSocket::SendBytes(std::string_view bytes) {
  if (closed_ || !connected_ || !socket_) return WSAENOTCONN;
  outbox_ += bytes;
  awaitingSendComplete_ = true;
  if (int error = Flush()) {
    outbox_.clear();
    sent_ = 0;
    awaitingSendComplete_ = false;
    return error;
  }
  if (outbox_.empty()) {
    awaitingSendComplete_ = false;
    deferredSendComplete_ = true;
    Defer();
  } else {
    deferredSendComplete_ = false;  // FD_WRITE reports it once the rest is out
  }
  return 0;
}

// Writes as much of the outbox as the system takes now; FD_WRITE brings the chance for the rest.
int WinSocket::Flush() {
  while (sent_ < outbox_.size()) {
    int chunk = static_cast<int>(std::min<size_t>(outbox_.size() - sent_, INT_MAX));
    int n = net::send(socket_.get(), outbox_.data() + sent_, chunk, 0);
    if (n == SOCKET_ERROR) {
      int error = net::WSAGetLastError();
      return error == WSAEWOULDBLOCK ? 0 : error;
    }
    sent_ += static_cast<size_t>(n);
  }
  outbox_.clear();
  sent_ = 0;
  return 0;
}

void WinSocket::Close() {
  generation_ = NextGeneration();
  EndConnection();
  resolution_.reset();
  nextAddress_ = 0;
  lastError_ = 0;
  // A message already posted carries the old generation and is dropped.
  deferredPosted_ = false;
  closed_ = true;
}

LRESULT WinSocket::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  bool current = static_cast<std::uint32_t>(wp) == generation_;
  if (msg == kResolvedMessage) {
    if (current) OnResolved();
    return 0;
  }
  if (msg == kDeferredMessage) {
    if (current) DeliverDeferred();
    return 0;
  }
  if (msg == WM_TIMER) {
    if (addressTimer_ && wp == addressTimer_) OnAddressSilent();
    return 0;
  }
  if (msg >= kFirstSocketMessage && msg < kFirstSocketMessage + kSocketMessageCount) {
    if (msg == SocketMessage() && socket_ && wp == socket_.get())
      OnSocketEvent(WSAGETSELECTEVENT(lp), WSAGETSELECTERROR(lp));
    return 0;
  }
  return Default(msg, wp, lp);
}

void WinSocket::OnResolved() {
  std::shared_ptr<SocketResolution> job = std::move(resolution_);
  if (!job || !job->done.load(std::memory_order_acquire)) return;
  addresses_ = std::move(job->addresses);
  nextAddress_ = 0;
  if (int error = ConnectNext()) Fail(error);
}

void WinSocket::OnSocketEvent(int event, int error) {
  switch (event) {
    case FD_CONNECT:
      if (connected_) return;
      if (error) {
        // This address refused or failed: the next one may still answer.
        socket_.Reset();
        lastError_ = error;
        if (int last = ConnectNext()) Fail(last);
        return;
      }
      connected_ = true;
      StopAddressTimer();
      addresses_.clear();
      Deliver([](SocketEvents& events) { events.OnConnect(); });
      return;
    case FD_READ: {
      if (!DeliverPending()) return;
      std::string data;
      int readError = 0;
      if (ReadAvailable(data, readError) && !data.empty() &&
          !Deliver([&data](SocketEvents& events) { events.OnDataArrival(data); })) {
        return;
      }
      if (readError) Fail(readError);
      return;
    }
    case FD_WRITE:
      if (int writeError = Flush()) return Fail(writeError);
      if (outbox_.empty() && awaitingSendComplete_) {
        awaitingSendComplete_ = false;
        Deliver([](SocketEvents& events) { events.OnSendComplete(); });
      }
      return;
    case FD_CLOSE:
      OnPeerClosed(error);
      return;
  }
}

// Appends what the system holds to data. A failed read sets error; false when it came before
// any data.
bool WinSocket::ReadAvailable(std::string& data, int& error) {
  char buffer[4096];
  while (data.size() < kMostReadAtOnce) {
    int n = net::recv(socket_.get(), buffer, sizeof buffer, 0);
    if (n > 0) {
      data.append(buffer, static_cast<size_t>(n));
      continue;
    }
    if (n == SOCKET_ERROR) {
      int code = net::WSAGetLastError();
      if (code != WSAEWOULDBLOCK) error = code;
    }
    break;
  }
  return !data.empty() || error == 0;
}

// The peer ended the connection: what it sent last is delivered first.
void WinSocket::OnPeerClosed(int error) {
  if (!DeliverPending()) return;
  std::string data;
  int readError = 0;
  while (socket_ && ReadAvailable(data, readError) && !data.empty()) {
    if (!Deliver([&data](SocketEvents& events) { events.OnDataArrival(data); })) return;
    data.clear();
  }
  if (!error) error = readError;
  if (error) return Fail(error);
  EndConnection();
  Deliver([](SocketEvents& events) { events.OnClose(); });
}

void WinSocket::Fail(int code) {
  if (!DeliverPending()) return;
  EndConnection();
  std::string text = SocketErrorText(code);
  Deliver([code, &text](SocketEvents& events) { events.OnError(code, text); });
}

// The connection is over: its close or error is the last event, so whatever waits to be
// reported goes.
void WinSocket::EndConnection() {
  StopAddressTimer();
  socket_.Reset();
  addresses_.clear();
  outbox_.clear();
  sent_ = 0;
  connected_ = false;
  awaitingSendComplete_ = false;
  deferredConnect_ = false;
  deferredSendComplete_ = false;
  deferredError_ = 0;
}

void WinSocket::Defer() {
  if (deferredPosted_) return;
  deferredPosted_ = PostMessageW(hwnd_, kDeferredMessage, generation_, 0) != FALSE;
}

void WinSocket::DeliverDeferred() {
  deferredPosted_ = false;
  if (!DeliverPending()) return;
  if (int code = deferredError_) {
    deferredError_ = 0;
    Fail(code);
  }
}

// Delivers what happened inside a call and still waits for the posted message. A notification
// can overtake that message (a quick peer answers, or resets, between the send and the post),
// and the answer to a send must not come before its completion. False when the socket must stop.
bool WinSocket::DeliverPending() {
  if (deferredConnect_) {
    deferredConnect_ = false;
    if (!Deliver([](SocketEvents& events) { events.OnConnect(); })) return false;
  }
  if (deferredSendComplete_) {
    deferredSendComplete_ = false;
    if (!Deliver([](SocketEvents& events) { events.OnSendComplete(); })) return false;
  }
  return true;
}

// Calls the listener. False when the socket must not go on with what it was doing: the listener
// destroyed it, or closed or reconnected it.
template <typename Call>
bool WinSocket::Deliver(Call call) {
  if (!events_) return true;
  std::uint32_t generation = generation_;
  bool alive = true;
  bool* outer = deliveryAlive_;
  deliveryAlive_ = &alive;
  call(*events_);
  if (!alive) {
    if (outer) *outer = false;
    return false;
  }
  deliveryAlive_ = outer;
  return generation_ == generation;
}

std::string SocketErrorText(int code) {
  wchar_t* buffer = nullptr;
  DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text(buffer ? buffer : L"", n);
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n')) text.pop_back();
  if (!text.empty()) return Narrow(text);
  auto known = std::find_if(std::begin(kErrorNames), std::end(kErrorNames),
                            [code](const ErrorName& entry) { return entry.code == code; });
  return known != std::end(kErrorNames) ? known->name : std::string();
}

}  // namespace vq::win
