#include <gtest/gtest.h>

#include <string>

#include "services/ResponseHeaders.h"

namespace services {
namespace {

void Feed(ResponseHeaders& headers, const std::string& line) {
    headers.OnHeaderLine(line.data(), line.size());
}

TEST(AnnouncedSize, ReadsTheNumberAfterTheName) {
    const auto parse = [](const std::string& text) { return ParseAnnouncedSize(text.data(), text.size()); };
    EXPECT_EQ(parse(" 1048576\r\n"), 1048576u);
    EXPECT_EQ(parse("\t+42\r\n"), 42u);
    EXPECT_EQ(parse("12abc"), 12u);
    EXPECT_EQ(parse("4294967294"), 4294967294u);
    // Not a size: no digits, a negative number, a size beyond 32 bits or the failure marker itself.
    EXPECT_FALSE(parse(""));
    EXPECT_FALSE(parse("-5"));
    EXPECT_FALSE(parse("4294967295"));
    EXPECT_FALSE(parse("99999999999999999999999999"));
}

TEST(ResponseHeadersTest, TheLastResponseCountsAcrossRedirects) {
    ResponseHeaders headers;
    Feed(headers, "HTTP/2 302\r\n");
    Feed(headers, "Content-Length: 154\r\n");
    Feed(headers, "Location: /setup.exe\r\n");
    Feed(headers, "\r\n");
    EXPECT_EQ(headers.Status(), 302);
    EXPECT_EQ(headers.ContentLength(), 154u);

    Feed(headers, "HTTP/1.1 200 OK\r\n");
    EXPECT_EQ(headers.Status(), 200);
    EXPECT_FALSE(headers.ContentLength()) << "the redirect's size is not the package's";
    Feed(headers, "content-length: 2048\r\n");
    EXPECT_EQ(headers.ContentLength(), 2048u);
}

TEST(ResponseHeadersTest, ReadsTheStartOfTheContentRange) {
    ResponseHeaders headers;
    Feed(headers, "HTTP/1.1 206 Partial Content\r\n");
    Feed(headers, "Content-Range: bytes 1000-1999/2000\r\n");
    EXPECT_EQ(headers.Status(), 206);
    EXPECT_EQ(headers.RangeStart(), 1000u);

    Feed(headers, "Content-Range: bytes */2000\r\n");
    EXPECT_FALSE(headers.RangeStart());
    // A header line is not a terminated string: only the given bytes count.
    const std::string line = "Content-Length: 12345";
    headers.OnHeaderLine(line.data(), line.size() - 3);
    EXPECT_EQ(headers.ContentLength(), 12u);
}

TEST(BodyHandlingTest, OnlyAnAnswerFromOurOffsetIsAppended) {
    EXPECT_EQ(DecideBodyHandling(206, 500, 500), BodyHandling::Append);
    EXPECT_EQ(DecideBodyHandling(206, 0, 500), BodyHandling::Refuse);
    EXPECT_EQ(DecideBodyHandling(206, std::nullopt, 500), BodyHandling::Refuse);
    EXPECT_EQ(DecideBodyHandling(200, std::nullopt, 500), BodyHandling::Rewrite);
    for (int status : {0, 301, 404, 416, 503}) {
        EXPECT_EQ(DecideBodyHandling(status, std::nullopt, 500), BodyHandling::Refuse) << status;
    }
}

}  // namespace
}  // namespace services
