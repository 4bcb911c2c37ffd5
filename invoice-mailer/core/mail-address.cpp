#include "invoice-mailer/core/mail-address.h"

namespace billpost {

std::string MailHostOf(const std::string &address) {
  std::string::size_type at = address.find('@');
  return at == std::string::npos ? std::string() : address.substr(at + 1);
}

bool LooksLikeAddress(const std::string &address) {
  return address.find('.') != std::string::npos && address.find('@') != std::string::npos;
}

bool AddressesOfferSend(const std::string &toAddress, const std::string &fromAddress) {
  return toAddress.find('@') != std::string::npos && fromAddress.find('@') != std::string::npos;
}

bool DeliverableAddress(const std::string &address) {
  std::string::size_type at = address.find('@');
  if (at == std::string::npos || at == 0 || address.find('@', at + 1) != std::string::npos)
    return false;
  for (std::string::size_type i = 0; i < at; ++i) {
    unsigned char c = static_cast<unsigned char>(address[i]);
    if (c <= ' ' || c >= 0x7F || c == '<' || c == '>' || c == '|')
      return false;
  }
  std::string host = address.substr(at + 1);
  if (host.empty() || host.front() == '.' || host.back() == '.' || host.front() == '-')
    return false;
  for (char c : host) {
    bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    bool digit = c >= '0' && c <= '9';
    if (!letter && !digit && c != '-' && c != '.')
      return false;
  }
  return true;
}

} // namespace billpost
