// Date and Message-ID as the message format writes them.
#include "invoice-mailer/core/origination.h"

#include <cstdio>

namespace billpost {

namespace {

const char *const dayNames[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char *const monthNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                  "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

bool isNameCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-';
}

// Labels of letters, digits and hyphens joined by single dots.
bool isDottedName(const std::string &text) {
  if (text.empty() || text.front() == '.' || text.back() == '.')
    return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '.' && text[i - 1] == '.')
      return false;
    if (text[i] != '.' && !isNameCharacter(text[i]))
      return false;
  }
  return true;
}

// "[" digits and dots "]", as an address literal is written.
bool isAddressLiteral(const std::string &text) {
  if (text.size() < 3 || text.front() != '[' || text.back() != ']')
    return false;
  return text.find_first_not_of("0123456789.", 1) == text.size() - 1;
}

bool fitsMessageId(const std::string &domain) {
  return isDottedName(domain) || isAddressLiteral(domain);
}

} // namespace

std::string DateText(const CivilTime &local, int offsetMinutes) {
  int weekday = local.weekday >= 0 && local.weekday < 7 ? local.weekday : 0;
  int month = local.month >= 1 && local.month <= 12 ? local.month : 1;
  char sign = offsetMinutes < 0 ? '-' : '+';
  int offset = offsetMinutes < 0 ? -offsetMinutes : offsetMinutes;
  char text[64];
  std::snprintf(text, sizeof text, "%s, %d %s %04d %02d:%02d:%02d %c%02d%02d", dayNames[weekday],
                local.day, monthNames[month - 1], local.year, local.hour, local.minute,
                local.second, sign, offset / 60 % 100, offset % 60);
  return text;
}

std::string MessageIdDomain(const std::string &senderDomain, const std::string &hostName) {
  if (fitsMessageId(senderDomain))
    return senderDomain;
  if (fitsMessageId(hostName))
    return hostName;
  return "localhost";
}

std::string MessageIdText(unsigned long long time, unsigned long process, unsigned long count,
                          const std::string &domain) {
  char unique[64];
  std::snprintf(unique, sizeof unique, "%llx.%lx.%lx", time, process, count);
  return "<" + std::string(unique) + "@" + domain + ">";
}

} // namespace billpost
