// The fields that say when and where a message was made: "Date:" (the
// local time of the send with its offset from UTC) and "Message-ID:" (one
// of our own, unique per message). Readers sort and thread by them, and a
// message without a date is one that strict servers and filters distrust.
#ifndef INVOICE_MAILER_CORE_ORIGINATION_H
#define INVOICE_MAILER_CORE_ORIGINATION_H

#include <string>

namespace billpost {

// A moment of the local calendar, as the system reports it.
struct CivilTime {
  int year = 1970;
  int month = 1; // 1 to 12
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int weekday = 4; // 0 Sunday to 6 Saturday
};

// The date-time form of the message format: "Thu, 10 Dec 2026 14:37:02
// +0100"; offsetMinutes is local time minus UTC.
std::string DateText(const CivilTime &local, int offsetMinutes);

// The right-hand side of a message identifier: the sender's domain when it
// is one the identifier can carry (a dotted name of letters, digits and
// hyphens, or an address literal in brackets), else the host name when
// that is one, else "localhost".
std::string MessageIdDomain(const std::string &senderDomain, const std::string &hostName);

// "<" + unique + "@" + domain + ">", where unique is written from the
// numbers given (a time, the process, a count) as hexadecimal runs joined
// by "."; domain as MessageIdDomain answers it.
std::string MessageIdText(unsigned long long time, unsigned long process, unsigned long count,
                          const std::string &domain);

} // namespace billpost

#endif
