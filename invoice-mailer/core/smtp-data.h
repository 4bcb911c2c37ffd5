// The message data as it goes on the wire between DATA and the closing
// ".": whatever the message's text holds, no line of it can end the data
// early or add a protocol line of its own.
#ifndef BILLPOST_SMTP_DATA_H
#define BILLPOST_SMTP_DATA_H

#include <cstddef>
#include <string>
#include <vector>

namespace billpost {

// Lines of the message's text with every line break inside a line (CR LF,
// CR or LF) made a break between lines; a break at the end of a line adds
// no empty line.
std::vector<std::string> SplitLineBreaks(const std::vector<std::string> &lines);

// A line of the message data as it goes on the wire: a leading "." is
// doubled so that no line of the text can end the data.
std::string DotStuffed(const std::string &line);

// A line as sent inside the data: any CR or LF left becomes a blank (it
// would end the line early), then the leading "." is doubled.
std::string DataLine(const std::string &line);

// The percent of a run of count lines sent once the line at index has
// gone, rounded half to even; 0 for runs of fewer than two lines.
int DataProgress(std::size_t index, std::size_t count);

} // namespace billpost

#endif
