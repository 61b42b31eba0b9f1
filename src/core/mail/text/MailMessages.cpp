#include "mail/text/MailMessages.h"

#include <algorithm>
#include <vector>

#include "base/Utf8.h"
#include "mail/stream/TlsError.h"

namespace vq::mail {
namespace {

// Columns of a line of a server's reason: an ASCII character takes one, any other two.
constexpr std::size_t kReasonLineWidth = 60;
constexpr std::string_view kReplacement = "\xEF\xBF\xBD", kCut = "…";

// The length of the UTF-8 sequence at the front of text and its code point; 0 when the bytes
// there are no sound sequence (a stray or overlong one, a surrogate, a sequence cut short).
std::size_t DecodeOne(std::string_view text, char32_t& code) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  std::size_t length = 1;
  char32_t least = 0;
  if (lead < 0x80) {
    code = lead;
    return 1;
  }
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, least = 0x80, code = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, least = 0x800, code = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, least = 0x10000, code = lead & 0x07;
  } else {
    return 0;
  }
  if (text.size() < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
    code = code << 6 | (byte(i) & 0x3F);
  }
  if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return length;
}

// An escape sequence at the front of text (it begins with ESC): its length. CSI runs to its
// final byte, the string sequences (OSC, DCS ...) to BEL or ST, any other to its final byte
// after the intermediate ones.
std::size_t EscapeLength(std::string_view text) {
  std::size_t i = 1;
  if (i < text.size() && text[i] == '[') {
    for (++i; i < text.size(); ++i)
      if (text[i] >= 0x40 && text[i] <= 0x7E) return i + 1;
    return i;
  }
  if (i < text.size() && std::string_view("]P^_X").find(text[i]) != std::string_view::npos) {
    for (++i; i < text.size(); ++i) {
      if (text[i] == '\a') return i + 1;
      if (text[i] == '\x1B' && i + 1 < text.size() && text[i + 1] == '\\') return i + 2;
    }
    return i;
  }
  while (i < text.size() && text[i] >= 0x20 && text[i] <= 0x2F) ++i;
  return std::min(i + 1, text.size());
}

// Nothing that moves the cursor, changes the direction of the text or is not shown at all.
bool Shown(char32_t code) {
  return code >= 0x20 && !(code >= 0x7F && code <= 0x9F) && code != 0x200E && code != 0x200F &&
         !(code >= 0x202A && code <= 0x202E) && !(code >= 0x2066 && code <= 0x2069) && code != 0xFEFF;
}

struct Character {
  std::string text;
  std::size_t width;
};

// The text as characters fit to be shown, white space between words as one space.
std::vector<Character> ShownCharacters(std::string_view said) {
  std::vector<Character> out;
  bool space = false, invalid = false;
  const auto add = [&](std::string_view text, std::size_t width) {
    if (space && !out.empty()) out.push_back({" ", 1});
    space = invalid = false;
    out.push_back({std::string(text), width});
  };
  while (!said.empty()) {
    char32_t code = 0;
    const std::size_t length = DecodeOne(said, code);
    if (length == 0) {
      // A run of bytes that are not UTF-8 (text in another code page) shows as one mark.
      if (!invalid) add(kReplacement, 2);
      invalid = true;
      said.remove_prefix(1);
      continue;
    }
    if (code == 0x1B) {
      said.remove_prefix(EscapeLength(said));
      continue;
    }
    if (code == ' ' || code == '\t' || code == '\r' || code == '\n')
      space = true;
    else if (Shown(code))
      add(said.substr(0, length), code < 0x80 ? 1 : 2);
    said.remove_prefix(length);
  }
  return out;
}

}  // namespace

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

std::string ErrorStatusText(int account, std::string_view said) {
  const std::string reason = ServerReason(said, 1);
  return ErrorStatusText(account) + (reason.empty() ? "" : " " + reason);
}

// Lines break at a space in their second half where there is one, and the last line says so
// when the reason goes on beyond it.
std::string ServerReason(std::string_view said, std::size_t lines) {
  if (UpperAscii(said).find("BASIC AUTHENTICATION IS DISABLED") != std::string::npos)
    return std::string(kProviderSignInText);
  if (const std::size_t close = said.find(']'); said.starts_with('[') && close != std::string_view::npos)
    said.remove_prefix(close + 1);
  const std::vector<Character> characters = ShownCharacters(said);
  std::string out;
  std::size_t at = 0;
  for (std::size_t line = 0; line < lines && at < characters.size(); ++line) {
    std::size_t end = at, width = 0;
    while (end < characters.size() && width + characters[end].width <= kReasonLineWidth)
      width += characters[end++].width;
    const bool last = line + 1 == lines;
    if (end < characters.size() && last) {
      while (width + 2 > kReasonLineWidth) width -= characters[--end].width;
    } else if (end < characters.size()) {
      for (std::size_t space = end; space > at + (end - at) / 2; --space)
        if (characters[space].text == " ") {
          end = space;
          break;
        }
    }
    if (!out.empty()) out += '\n';
    for (std::size_t i = at; i < end; ++i) out += characters[i].text;
    while (out.ends_with(' ')) out.pop_back();
    if (last && end < characters.size()) out += kCut;
    at = end;
    while (at < characters.size() && characters[at].text == " ") ++at;
  }
  return out;
}

std::string WithServerReason(std::string message, std::string_view said) {
  const std::string reason = ServerReason(said, 2);
  return reason.empty() ? message : message + "\n" + reason;
}

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
