// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/windows/lhm_fetch.h"

#include <winhttp.h>
#include <winsock2.h>

#include <memory>

#include "platform/reporter.h"
#include "platform/windows/text.h"

namespace platform {
namespace {

// Far more than any sensor tree.
constexpr std::size_t kMaxBody = std::size_t{16} * 1024 * 1024;

struct HandleCloser {
  void operator()(void* handle) const { WinHttpCloseHandle(handle); }
};
using Handle = std::unique_ptr<void, HandleCloser>;

std::string FailureText(DWORD code, int budget_ms) {
  switch (code) {
    case ERROR_WINHTTP_CANNOT_CONNECT:
    case ERROR_WINHTTP_CONNECTION_ERROR:
    case WSAECONNREFUSED:  // as Wine's WinHTTP gives some errors
      return "nothing answers there";
    case ERROR_WINHTTP_TIMEOUT:
    case WSAETIMEDOUT:
      return "no answer within " + std::to_string(budget_ms) + " ms";
    case ERROR_WINHTTP_NAME_NOT_RESOLVED:
      return "the name does not resolve";
    case ERROR_WINHTTP_INVALID_SERVER_RESPONSE:
      return "its answer is no HTTP";
    default:
      return "WinHTTP error " + std::to_string(code);
  }
}

}  // namespace

LhmFetcher::LhmFetcher(std::wstring host, int port, std::wstring path, int budget_ms)
    : host_(std::move(host)), port_(port), path_(std::move(path)), budget_ms_(budget_ms) {
  session_ = WinHttpOpen(Widen(kStatusanzeige).c_str(), WINHTTP_ACCESS_TYPE_NO_PROXY,
                         WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0);
  if (session_ != nullptr) {
    WinHttpSetTimeouts(session_, budget_ms_, budget_ms_, budget_ms_, budget_ms_);
    // The wait for the answer's headers has a timeout of its own.
    DWORD response_ms = static_cast<DWORD>(budget_ms_);
    WinHttpSetOption(session_, WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &response_ms,
                     sizeof response_ms);
  }
}

LhmFetcher::~LhmFetcher() {
  if (session_ != nullptr) WinHttpCloseHandle(session_);
}

Result<std::string> LhmFetcher::Fetch() {
  const auto fail = [this]() -> Failure {
    const DWORD code = GetLastError();
    return Failure{static_cast<int>(code), FailureText(code, budget_ms_)};
  };
  const auto said = [](std::string text) { return Failure{0, std::move(text)}; };
  if (session_ == nullptr) return fail();
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(budget_ms_);

  Handle connection(WinHttpConnect(session_, host_.c_str(), static_cast<INTERNET_PORT>(port_), 0));
  if (!connection) return fail();
  Handle request(WinHttpOpenRequest(connection.get(), L"GET", path_.c_str(), nullptr,
                                    WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES, 0));
  if (!request) return fail();
  if (!WinHttpSendRequest(request.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA,
                          0, 0, 0) ||
      !WinHttpReceiveResponse(request.get(), nullptr)) {
    return fail();
  }

  DWORD status = 0;
  DWORD size = sizeof status;
  if (!WinHttpQueryHeaders(request.get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                           WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX)) {
    return fail();
  }
  if (status == 401)
    return said("it asks for a password; switch its web server's authentication off");
  if (status != 200) return said("it answers HTTP status " + std::to_string(status));

  std::string body;
  for (;;) {
    if (GetTickCount64() > deadline) {
      return said("no whole answer within " + std::to_string(budget_ms_) + " ms");
    }
    DWORD available = 0;
    if (!WinHttpQueryDataAvailable(request.get(), &available)) return fail();
    if (available == 0) break;
    if (body.size() + available > kMaxBody) return said("its answer is too long");
    const std::size_t at = body.size();
    body.resize(at + available);
    DWORD read = 0;
    if (!WinHttpReadData(request.get(), body.data() + at, available, &read)) return fail();
    body.resize(at + read);
    if (read == 0) break;
  }
  return body;
}

}  // namespace platform
