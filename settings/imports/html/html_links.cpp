#include "html_links.h"

#include "html_text.h"
#include "html_tokenizer.h"

namespace {
// The address of a link element; "" when it has no HREF or the HREF holds no
// "://", which the import does not take as a link.
std::string AddressOf(const HtmlToken& tag) {
    const std::string* href = tag.Attribute("href");
    if (!href)
        return "";
    std::string address = LinkAddress(*href);
    return address.find("://") == std::string::npos ? std::string() : address;
}
} // namespace

std::vector<HtmlLink> ScanHtmlLinks(ByteSource& utf8) {
    std::vector<HtmlLink> links;
    HtmlTokenizer tokenizer(utf8);
    HtmlToken token;
    bool inLink = false; // collecting the text of links[openLink]
    size_t openLink = 0;
    TitleText title;
    auto endLink = [&] {
        if (inLink)
            links[openLink].title = title.Title();
        inLink = false;
        title = TitleText();
    };
    while (tokenizer.Next(token)) {
        switch (token.kind) {
        case HtmlToken::kText:
            if (inLink && token.name.empty())
                title.Append(token.text);
            break;
        case HtmlToken::kStartTag:
            if (token.name == "a") {
                // An A inside an A ends the first, as in a browser.
                endLink();
                std::string address = AddressOf(token);
                if (!address.empty()) {
                    openLink = links.size();
                    links.push_back(HtmlLink{"", address});
                    inLink = true;
                }
            } else if (token.name == "area") {
                std::string address = AddressOf(token);
                if (!address.empty()) {
                    TitleText alt(ReferenceContext::kAttribute);
                    if (const std::string* text = token.Attribute("alt"))
                        alt.Append(*text);
                    links.push_back(HtmlLink{alt.Title(), address});
                }
            }
            break;
        case HtmlToken::kEndTag:
            if (token.name == "a")
                endLink();
            break;
        }
    }
    endLink();
    return links;
}
