#include "html_title.h"

#include "html_text.h"
#include "html_tokenizer.h"

std::string ReadHtmlTitle(ByteSource& utf8) {
    HtmlTokenizer tokenizer(utf8);
    HtmlToken token;
    while (tokenizer.Next(token)) {
        if (token.kind != HtmlToken::kStartTag || token.name != "title")
            continue;
        // The element's content comes as raw text up to its end tag.
        TitleText title;
        while (!title.Full() && tokenizer.Next(token) && token.kind == HtmlToken::kText &&
               token.name == "title")
            title.Append(token.text);
        return title.Title();
    }
    return "";
}
