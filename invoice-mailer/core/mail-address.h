// The main window's checks of e-mail addresses and the choice of the mail
// host a message goes to (the recipient's own domain).
#ifndef INVOICE_MAILER_CORE_MAIL_ADDRESS_H
#define INVOICE_MAILER_CORE_MAIL_ADDRESS_H

#include <string>

namespace billpost {

// The text after the first "@", or empty when there is none. No service's
// host gets a prefix.
std::string MailHostOf(const std::string &address);

// The check run when an address field is left: it holds both "." and "@".
bool LooksLikeAddress(const std::string &address);

// Send is offered when both addresses hold an "@".
bool AddressesOfferSend(const std::string &toAddress, const std::string &fromAddress);

// An address a message may be sent to: a local part, one "@", and a host
// of letters, digits, "-" and "." that is not empty, so that nothing is
// looked up for "a.b@" (whose empty host would name this machine).
bool DeliverableAddress(const std::string &address);

} // namespace billpost

#endif
