#include "mail/MailMessages.h"

#include "mail/TlsStream.h"

namespace vq::mail {

std::string AccountPrefix(int account) { return "[" + std::to_string(account + 1) + "] "; }

std::string CheckingText(int account) { return AccountPrefix(account) + "チェック中..."; }

std::string MailWaitingText(int account, std::int64_t count, std::int64_t size) {
  return AccountPrefix(account) + std::to_string(count) + " 通 (" + std::to_string(size) +
         " バイト) のメールがあります。";
}

std::string ImapMailText(int account, std::int64_t count, std::int64_t unseen) {
  return AccountPrefix(account) + std::to_string(count) + " 通 (未読 " + std::to_string(unseen) +
         " 通) のメールがあります。";
}

// Two spaces after the bracket: the prefix's and the text's own.
std::string NoMailText(int account) { return AccountPrefix(account) + " メールはありません。"; }

std::string ErrorStatusText(int account) { return AccountPrefix(account) + "エラー"; }

std::string NoSuchAccountMessage(int account) { return AccountPrefix(account) + "アカウントがありません。"; }

std::string WrongPasswordMessage(int account) { return AccountPrefix(account) + "パスワードが正しくありません。"; }

std::string SessionFailedMessage(int account) {
  return AccountPrefix(account) + "エラーが発生しました。メールチェックできません。";
}

std::string LineTooLongMessage(int account) {
  return AccountPrefix(account) + "エラー サーバーの応答の行が長すぎます。";
}

std::string UnreadableAnswerMessage(int account) {
  return AccountPrefix(account) + "エラー サーバーの応答を読み取れません。";
}

std::string LoginDisabledMessage(int account) {
  return AccountPrefix(account) + "エラー サーバーが暗号化されていない接続でのログインを受け付けません。" +
         "暗号化の設定を確かめてください。";
}

std::string SocketErrorMessage(int account, int code, std::string_view description) {
  const std::string error = AccountPrefix(account) + "エラー ";
  switch (code) {
    case 11001:  // WSAHOST_NOT_FOUND
    case 10060:  // WSAETIMEDOUT: most often a name that leads nowhere, so it reads the same
      return error + "ホストが見つかりません。";
    case 10061:  // WSAECONNREFUSED
      return error + "接続が受け付けられませんでした。";
    case 10049:  // WSAEADDRNOTAVAIL
      return error + "アドレスを利用できません。";
    case 10053:  // WSAECONNABORTED
      return error + "接続が中断されました。";
    case kTlsHandshakeFailed:
      return error + "SSL/TLS の接続を確立できませんでした。" +
             (description.empty() ? std::string() : "(" + std::string(description) + ")");
    case kTlsNotTlsServer:
      return error + "サーバーが SSL/TLS で応答しません。ポートと暗号化の設定を確かめてください。";
    case kTlsNoStartTls:
      return error + "サーバーが STARTTLS に対応していません。";
    case kTlsUntrusted:
      return error + "サーバーの証明書を信頼できません。";
    case kTlsExpired:
      return error + "サーバーの証明書の有効期限が切れています。";
    case kTlsWrongName:
      return error + "サーバーの証明書がホスト名と一致しません。";
    case kTlsBroken:
      return error + "SSL/TLS の通信に失敗しました。";
    default:
      return error + std::to_string(code) + ":" + std::string(description);
  }
}

}  // namespace vq::mail
