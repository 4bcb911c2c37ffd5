// Server and greeting names.
#include "invoice-mailer/core/smtp-greeting.h"

namespace billpost {

std::string ServerHost(const std::string &server) {
  if (server.size() >= 2 && server.front() == '[' && server.back() == ']')
    return server.substr(1, server.size() - 2);
  return server;
}

namespace {

// A host name a server can take: letters, digits, "-" and "." only (a
// Windows machine name may hold "_" or blanks, which a strict server
// refuses).
bool isHostName(const std::string &name) {
  if (name.empty() || name.size() > 253 || name.front() == '.' || name.front() == '-')
    return false;
  for (char c : name) {
    bool letterOrDigit = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    if (!letterOrDigit && c != '-' && c != '.')
      return false;
  }
  return true;
}

} // namespace

std::string HeloArgument(bool useDomainAddress, const std::string &senderDomain,
                         const std::string &hostName, const std::string &localAddress) {
  if (useDomainAddress && !senderDomain.empty())
    return senderDomain;
  if (isHostName(hostName))
    return hostName;
  return "[" + (localAddress.empty() ? std::string("127.0.0.1") : localAddress) + "]";
}

} // namespace billpost
