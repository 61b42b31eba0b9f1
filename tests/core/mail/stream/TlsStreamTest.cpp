#include <gtest/gtest.h>

#include "fakes/FakeMailPorts.h"
#include "fakes/FakeSecurityLayer.h"
#include "fakes/FakeSocket.h"
#include "mail/text/MailMessages.h"
#include "mail/stream/TlsStream.h"

namespace vq::mail {
namespace {

using test::FakeSecurityLayer;
using Strings = std::vector<std::string>;
using Phase = TlsStream::Phase;

std::string Handshake(std::string_view payload) {
  return FakeSecurityLayer::Record(FakeSecurityLayer::kHandshake, payload);
}
std::string Data(std::string_view payload) { return FakeSecurityLayer::Record(FakeSecurityLayer::kData, payload); }

// What the session would see: "connect", each arrival of text, "sent", "close", "error N".
struct Listener : SocketEvents {
  void OnConnect() override { events.push_back("connect"); }
  void OnDataArrival(std::string_view bytes) override { text += bytes; }
  void OnSendComplete() override { events.push_back("sent"); }
  void OnClose() override { events.push_back("close"); }
  void OnError(int code, std::string_view) override { events.push_back("error " + std::to_string(code)); }
  Strings events;
  std::string text;
};

struct StreamRig {
  explicit StreamRig(MailSecurity security) {
    stream.SetEvents(&listener);
    stream.SetSecurity(security);
    EXPECT_EQ(stream.Connect("mail.example", 995), 0);
    socket.RaiseConnect();
  }
  // Hands the bytes over in arrivals of these sizes (the rest in one), the certificate found
  // good as soon as it is asked about, or only once everything has come.
  void Arrive(const std::string& bytes, const std::vector<std::size_t>& cuts, bool lateVerdict) {
    std::size_t at = 0;
    for (std::size_t i = 0; at < bytes.size(); ++i) {
      const std::size_t n = i < cuts.size() ? cuts[i] : bytes.size() - at;
      socket.RaiseData(std::string_view(bytes).substr(at, n));
      at += n;
      if (!lateVerdict && stream.CurrentPhase() == Phase::kChecking) layer.Verdict(CertificateVerdict::kTrusted);
    }
    if (stream.CurrentPhase() == Phase::kChecking) layer.Verdict(CertificateVerdict::kTrusted);
  }

  test::FakeSocket socket;
  FakeSecurityLayer layer;
  TlsStream stream{socket, layer};
  Listener listener;
};

// The server's flight: two handshake records, the greeting sealed in the same packet as the
// last, then a second data record. However it is cut into arrivals, and whenever the verdict
// comes, the session sees one connect and then exactly the text, nothing of the handshake.
TEST(TlsStream, RecordsCutAnywhereOrPackedTogetherGiveTheSameText) {
  const std::string flight =
      Handshake("certificate") + Handshake("done") + Data("+OK ready\r\n") + Data("+OK 2 lines\r\n");
  std::vector<std::vector<std::size_t>> cuttings = {{}, std::vector<std::size_t>(flight.size(), 1)};
  for (std::size_t at = 1; at < flight.size(); ++at) cuttings.push_back({at});
  for (const auto& cuts : cuttings) {
    for (bool lateVerdict : {false, true}) {
      SCOPED_TRACE(testing::Message() << "first arrival " << (cuts.empty() ? flight.size() : cuts[0])
                                      << (cuts.size() > 1 ? " (bytewise)" : "")
                                      << (lateVerdict ? ", late verdict" : ""));
      StreamRig rig(MailSecurity::kTls);
      rig.Arrive(flight, cuts, lateVerdict);
      EXPECT_EQ(rig.listener.events, Strings{"connect"});
      EXPECT_EQ(rig.listener.text, "+OK ready\r\n+OK 2 lines\r\n");
      EXPECT_EQ(rig.socket.sent, (Strings{Handshake("hello"), Handshake("finished")}));
      EXPECT_EQ(rig.layer.hosts, Strings{"mail.example"});
      EXPECT_EQ(rig.layer.checks, 1);
      EXPECT_FALSE(rig.layer.calledWithNothing);
      EXPECT_EQ(rig.stream.CurrentPhase(), Phase::kOpen);
      EXPECT_EQ(rig.stream.PendingBytes(), 0u);
    }
  }
}

// STLS: the greeting in clear, "STLS", its +OK; whatever came in clear with that +OK is dropped,
// and the session hears the greeting only once the connection is secure.
TEST(TlsStream, StartTlsAsksAfterTheGreetingOrCapabilityAndDropsClearTextAfterItsAnswer) {
  StreamRig rig(MailSecurity::kStartTls);
  rig.socket.RaiseData("+OK Dovecot ready.\r\n");
  EXPECT_EQ(rig.socket.sent, Strings{"STLS\r\n"});
  rig.socket.RaiseData("+OK Begin TLS negotiation now.\r\nUSER planted\r\n");
  EXPECT_EQ(rig.stream.CurrentPhase(), Phase::kHandshake);
  EXPECT_EQ(rig.stream.PendingBytes(), 0u);
  rig.Arrive(Handshake("done") + Data("+OK in\r\n"), {}, false);
  EXPECT_EQ(rig.listener.events, Strings{"connect"});
  EXPECT_EQ(rig.listener.text, "+OK Dovecot ready.\r\n+OK in\r\n");

  // The session's text goes out sealed, its send complete reaches it; the handshake's did not.
  rig.socket.RaiseSendComplete();
  EXPECT_EQ(rig.stream.Send("USER alice\r\n"), 0);
  EXPECT_EQ(rig.socket.sent.back(), Data("USER alice\r\n"));
  rig.socket.RaiseSendComplete();
  EXPECT_EQ(rig.listener.events, (Strings{"connect", "sent"}));

  // Our goodbye is sealed too, and the layer forgets the connection.
  rig.stream.Close();
  EXPECT_EQ(rig.socket.sent.back(), FakeSecurityLayer::Record(FakeSecurityLayer::kAlert, "close"));
  EXPECT_TRUE(rig.socket.IsClosed() && rig.stream.IsClosed());

  // IMAP: STARTTLS only once CAPABILITY named it, its tagged OK, and nothing planted after it.
  StreamRig imap(MailSecurity::kStartTls);
  imap.stream.SetSecurity(MailSecurity::kStartTls, MailProtocol::kImap);
  ASSERT_EQ(imap.stream.Connect("mail.example", 143), 0);
  imap.socket.RaiseConnect();
  imap.socket.RaiseData("* OK ready\r\n");
  imap.socket.RaiseData("* CAPABILITY IMAP4rev1 STARTTLS LOGINDISABLED\r\nV1 OK\r");
  imap.socket.RaiseData("\n");
  imap.socket.RaiseData("* OK planted\r\nV2 OK Begin TLS\r\na1 OK planted\r\n");
  EXPECT_EQ(imap.socket.sent, (Strings{"V1 CAPABILITY\r\n", "V2 STARTTLS\r\n", Handshake("hello")}));
  imap.Arrive(Handshake("done"), {}, false);
  EXPECT_EQ(imap.listener.events, Strings{"connect"});
  EXPECT_EQ(imap.listener.text, "* OK ready\r\n");
}

// Every way the secure connection can fail before the login: the session ends with the reason
// in a message, and neither USER nor PASS ever leaves, in clear or sealed.
TEST(TlsStream, FailuresBeforeTheLoginEndTheCheckWithTheirReason) {
  const std::string verdictPending = "|" + Handshake("done") + "|";
  struct Row {
    MailSecurity security;
    std::string script;  // for MailRig::Play; "verdict X" gives the certificate's verdict
    std::string message;
    MailProtocol protocol = MailProtocol::kPop3;
    std::string line = "[1] エラー";
  };
  const std::string imapCaps = "connect|* OK ready\r\n|* CAPABILITY IMAP4rev1 ";
  const Row rows[] = {
      {MailSecurity::kStartTls, imapCaps + "LOGINDISABLED\r\nV1 OK\r\n",
       "[1] エラー サーバーが STARTTLS に対応していません。", MailProtocol::kImap},
      {MailSecurity::kStartTls, imapCaps + "STARTTLS\r\nV1 OK\r\n|V2 BAD no\r\n",
       "[1] エラー サーバーが STARTTLS に対応していません。", MailProtocol::kImap},
      {MailSecurity::kStartTls, "connect|* BYE busy\r\n", "", MailProtocol::kImap, "[1] エラー busy"},
      {MailSecurity::kTls, "connect|+OK Dovecot (Debian) ready.\r\n",
       "[1] エラー サーバーが SSL/TLS で応答しません。ポートと暗号化の設定を確かめてください。"},
      {MailSecurity::kStartTls, "connect|+OK ready\r\n|-ERR TLS support isn't enabled.\r\n",
       "[1] エラー サーバーが STARTTLS に対応していません。"},
      {MailSecurity::kStartTls, "connect|+OK ready\r\n|close", "[1] エラー サーバーが STARTTLS に対応していません。"},
      {MailSecurity::kStartTls, "connect|+OK ready\r\n+OK planted\r\n|-ERR no\r\n",
       "[1] エラー サーバーが STARTTLS に対応していません。"},
      {MailSecurity::kTls, "connect|" + Handshake("fail"),
       "[1] エラー SSL/TLS の接続を確立できませんでした。(0x80090326)"},
      {MailSecurity::kTls, "connect|" + Handshake("cert") + "|close",
       "[1] エラー SSL/TLS の接続を確立できませんでした。"},
      {MailSecurity::kTls, "connect" + verdictPending + "verdict untrusted",
       "[1] エラー サーバーの証明書を信頼できません。"},
      {MailSecurity::kTls, "connect" + verdictPending + "verdict expired",
       "[1] エラー サーバーの証明書の有効期限が切れています。"},
      {MailSecurity::kStartTls, "connect|+OK\r\n|+OK\r\n" + verdictPending + "verdict wrong name",
       "[1] エラー サーバーの証明書がホスト名と一致しません。"},
      // A server that hangs up while its certificate is checked: the verdict still speaks first.
      {MailSecurity::kTls, "connect" + verdictPending + Data("+OK\r\n") + "|close|verdict untrusted",
       "[1] エラー サーバーの証明書を信頼できません。"},
      {MailSecurity::kTls, "connect" + verdictPending + Data("-ERR too busy\r\n") + "|close|verdict trusted", ""},
      {MailSecurity::kTls, "connect" + verdictPending + std::string(TlsStream::kLargestPending + 1, 'z'),
       "[1] エラー SSL/TLS の通信に失敗しました。"},
      {MailSecurity::kTls, "connect" + verdictPending + "error 10054 reset", "[1] エラー 10054:reset"},
      // A record header announcing more than any record holds, and that much arriving.
      {MailSecurity::kTls, "connect|\x16\x03\x03\xff\xff" + std::string(TlsStream::kLargestPending - 3, 'x'),
       "[1] エラー SSL/TLS の接続を確立できませんでした。"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.script.substr(0, 60));
    test::MailRig rig;
    rig.Configure(0);
    rig.settings.accounts[0].security = row.security;
    rig.settings.accounts[0].protocol = row.protocol;
    rig.driver.CheckNow();
    std::string script = row.script;
    const std::size_t verdict = script.find("verdict ");
    const std::string said = verdict == std::string::npos ? "" : script.substr(verdict + 8);
    rig.Play(0, script.substr(0, verdict));
    if (!said.empty())
      rig.layers[0].Verdict(said == "expired"      ? CertificateVerdict::kExpired
                            : said == "wrong name" ? CertificateVerdict::kWrongName
                            : said == "trusted"    ? CertificateVerdict::kTrusted
                                                   : CertificateVerdict::kUntrusted);
    EXPECT_EQ(rig.dialogs.messages, row.message.empty() ? Strings{} : Strings{row.message});
    EXPECT_EQ(rig.views.Last().lines[0], row.line);
    EXPECT_EQ(rig.Sent(0).find("USER"), std::string::npos);
    EXPECT_EQ(rig.Sent(0).find("PASS"), std::string::npos);
    EXPECT_EQ(rig.Sent(0).find("LOGIN"), std::string::npos);
    EXPECT_FALSE(rig.driver.Pop3(0).Running() || rig.driver.Imap(0).Running() || rig.schedule.Busy());
    EXPECT_TRUE(rig.sockets[0].IsClosed());
  }
}

// A whole check over TLS through the session: the same conversation as in clear, sealed, even
// when answers come before the socket reports their command sent (a read notification queued
// earlier brings them first); and a setting this program does not know refuses the check
// rather than talk in clear, as does a protocol it does not know.
TEST(TlsStream, CheckOverTlsAndAnUnknownSetting) {
  test::MailRig rig;
  rig.Configure(0);
  rig.settings.accounts[0].security = MailSecurity::kTls;
  rig.driver.CheckNow();
  rig.Play(0, "connect|" + Handshake("done") + Data("+OK ready\r\n"));
  rig.layers[0].Verdict(CertificateVerdict::kTrusted);
  std::string tinyRecords;
  while (tinyRecords.size() < 1 << 20) tinyRecords += Data("\r\n");
  rig.Play(0, Data("+OK\r\n") + "|sent|" + Data("+OK in\r\n") + "|sent|sent|" + Data("+OK 2 320\r\n") + "|" +
                  Data("+OK bye\r\n") + tinyRecords + "|sent|close");
  EXPECT_EQ(rig.Sent(0), Handshake("hello") + Handshake("finished") + Data("USER user1\r\n") + Data("PASS s3cret\r\n") +
                             Data("STAT\r\n") + Data("QUIT\r\n"));
  EXPECT_EQ(rig.views.Last().lines[0], MailWaitingText(0, 2, 320));
  EXPECT_TRUE(rig.dialogs.messages.empty());

  for (const bool protocol : {false, true}) {
    test::MailRig unknown;
    unknown.Configure(0);
    if (protocol)
      unknown.settings.accounts[0].protocol = MailProtocol::kUnknown;
    else
      unknown.settings.accounts[0].security = MailSecurity::kUnknown;
    unknown.driver.CheckNow();
    EXPECT_TRUE(unknown.sockets[0].connects.empty());
    EXPECT_EQ(unknown.dialogs.messages, Strings{std::string(kIncompleteSettingsMessage)});
  }
}

}  // namespace
}  // namespace vq::mail
