// The names the SMTP client gives: the server to connect to, and the
// argument of its greeting (HELO), which servers require to be non-empty.
#ifndef BILLPOST_SMTP_GREETING_H
#define BILLPOST_SMTP_GREETING_H

#include <string>

namespace billpost {

// The host to look up for a server text: an address literal such as
// "[127.0.0.1]" (the domain of "to@[127.0.0.1]") is the address within the
// brackets; any other text stays as it is.
std::string ServerHost(const std::string &server);

// The HELO argument: the sender's domain when the domain address is used
// and there is one; otherwise this machine's host name; with neither, the
// local address as an address literal ("[192.0.2.1]").
std::string HeloArgument(bool useDomainAddress, const std::string &senderDomain,
                         const std::string &hostName, const std::string &localAddress);

} // namespace billpost

#endif
