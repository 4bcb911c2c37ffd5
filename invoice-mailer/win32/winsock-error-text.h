// Texts for Winsock error numbers, as the mail component's socket errors
// carry them.
#ifndef BILLPOST_WINSOCK_ERROR_TEXT_H
#define BILLPOST_WINSOCK_ERROR_TEXT_H

#include <string>

namespace billpost {

// Empty for 0. Otherwise the string resource of that number from the
// optional library "wserr32.dll" when it is installed, else
// "Winsock Error No. " and the number.
std::string WinsockErrorText(int number);

} // namespace billpost

#endif
