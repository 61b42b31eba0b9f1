#pragma once
#include <deque>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ports/Socket.h"

namespace vq::test {

// One connection with a scripted outcome for each call; the test plays the server by raising
// the events itself.
class FakeSocket : public Socket {
 public:
  void SetEvents(SocketEvents* e) override { events = e; }
  int Connect(std::string_view host, int port) override {
    connects.emplace_back(std::string(host), port);
    closed = false;
    return Next(connectResults);
  }
  int Send(std::string_view text) override {
    const int result = Next(sendResults);
    if (result == 0) sent.emplace_back(text);
    return result;
  }
  int SendBytes(std::string_view bytes) override { return Send(bytes); }
  void Close() override {
    closed = true;
    ++closes;
  }
  bool IsClosed() const override { return closed; }

  void RaiseConnect() { events->OnConnect(); }
  void RaiseData(std::string_view bytes) { events->OnDataArrival(bytes); }
  void RaiseSendComplete() { events->OnSendComplete(); }
  void RaiseClose() { events->OnClose(); }
  void RaiseError(int code, std::string_view description = "") { events->OnError(code, description); }

  SocketEvents* events = nullptr;
  std::vector<std::pair<std::string, int>> connects;
  std::vector<std::string> sent;                // only what was accepted, text or bytes
  std::deque<int> connectResults, sendResults;  // 0 once they run out
  bool closed = true;
  int closes = 0;

 private:
  static int Next(std::deque<int>& results) {
    if (results.empty()) return 0;
    const int result = results.front();
    results.pop_front();
    return result;
  }
};

}  // namespace vq::test
