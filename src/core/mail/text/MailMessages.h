#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vq::mail {

// The window's caption and its button-like label.
inline constexpr std::string_view kResultWindowTitle = "VornMailChecker";
inline constexpr std::string_view kMailerLabel = "メーラー起動";

// Refusals of a check.
inline constexpr std::string_view kNoAccountsMessage = "メール設定を行ってください。";
inline constexpr std::string_view kIncompleteSettingsMessage = "メール設定が不完全です。再設定して下さい。";

// The same for every account, without the account's number, and it does begin with a space.
inline constexpr std::string_view kAccountInUseMessage = " アカウントは使用中です。";

inline constexpr std::string_view kMailerNotFoundMessage = "メーラーが見つかれません";
inline constexpr std::string_view kMailerFailedMessage =
    "メーラーを起動できませんでした。オプションの「メーラーの場所」を確かめてください。";

// "[1] ", "[2] ", "[3] ": every text about one account begins so.
std::string AccountPrefix(int account);

// Status lines of the result window.
std::string CheckingText(int account);
std::string MailWaitingText(int account, std::int64_t count, std::int64_t size);
std::string NoMailText(int account);
// IMAP: all messages of the inbox and those without the server's "seen" flag.
std::string ImapMailText(int account, std::int64_t count, std::int64_t unseen);
std::string ErrorStatusText(int account);
// The same with what the server said when it ended the conversation, on the one line.
std::string ErrorStatusText(int account, std::string_view said);

// Message boxes at the end of a session.
std::string NoSuchAccountMessage(int account);
std::string WrongPasswordMessage(int account);
std::string SessionFailedMessage(int account);
// The server sent a line longer than any POP3 line, or an answer whose numbers cannot be read.
std::string LineTooLongMessage(int account);
std::string UnreadableAnswerMessage(int account);
// IMAP: the server takes no login on a connection without TLS.
std::string LoginDisabledMessage(int account);
// A server that takes no password sign-in any more ("Basic authentication is disabled").
inline constexpr std::string_view kProviderSignInText =
    "このメールボックスにはプロバイダー独自のサインインが必要です。このプログラムは対応していません。";

// What a server said as it refused the login or ended the conversation, fit to be shown: its
// response code ("[ALERT]") left out, control characters and escape sequences removed, bytes
// that are not UTF-8 shown as U+FFFD, cut to at most `lines` lines ("\n" between them). Empty
// when it said nothing.
std::string ServerReason(std::string_view said, std::size_t lines);
// A message, then on the lines below it the server's reason, if it gave one.
std::string WithServerReason(std::string message, std::string_view said);

// A Windows Sockets error number, or a failure of the secure connection (TlsError), and the
// platform's description of it.
std::string SocketErrorMessage(int account, int code, std::string_view description);

}  // namespace vq::mail
