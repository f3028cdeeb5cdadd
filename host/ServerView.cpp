#include "ServerView.h"

#include "HostError.h"

#include "platform/sim/SimVBE.h"
#include "platform/sim/SimWindow.h"
#include "platform/ui/ListView.h"
#include "platform/ui/Menu.h"
#include "platform/ui/TreeView.h"
#include "platform/ui/UserControl.h"
#include "platform/ui/UserDocument.h"

#include <algorithm>
#include <cctype>

namespace host {

namespace {

std::vector<std::string> split(const std::string& path) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        std::size_t end = path.find('/', start);
        parts.push_back(path.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) return parts;
        start = end + 1;
    }
}

std::string names(const std::vector<ui::NodePtr>& nodes) {
    std::string out;
    for (const auto& n : nodes) out += (out.empty() ? "" : ", ") + n->Text();
    return out.empty() ? "none" : out;
}

} // namespace

bool isNodeKey(const std::string& text) {
    std::size_t digits = text.size() > 1 && text[1] == '-' ? 2 : 1;
    return text.size() > digits && text[0] == 'K' &&
           std::all_of(text.begin() + static_cast<std::ptrdiff_t>(digits), text.end(),
                       [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
}

// The IDE made the add-in's document for the window with the server view's GUID; its one control,
// svrViewCtl1, and everything in that are found by name in the widget model.
ServerView ServerView::find(const sim::SimVBE& ide) {
    ServerView view;
    for (const auto& window : ide.toolWindows()) {
        auto* document = dynamic_cast<ui::UserDocument*>(window->document().get());
        if (window->guidPosition() != serverViewWindowGuid || !document) continue;
        auto control = document->control<ui::UserControl>("svrViewCtl1");
        if (!control) continue;
        view.window = window;
        view.control = control;
        view.tree = control->control<ui::TreeView>("serverTreeView");
        view.list = control->control<ui::ListView>("serverDetailsView");
    }
    return view;
}

std::shared_ptr<ui::Node> ServerView::node(const std::string& keyOrPath) const {
    if (isNodeKey(keyOrPath)) {
        auto found = tree->Nodes().find(keyOrPath);
        if (!found) throw HostError("the tree has no node with the key " + keyOrPath);
        return found;
    }
    std::vector<ui::NodePtr> level = tree->Nodes().roots();
    ui::NodePtr found;
    for (const auto& text : split(keyOrPath)) {
        auto it = std::find_if(level.begin(), level.end(), [&](const ui::NodePtr& n) { return n->Text() == text; });
        if (it == level.end())
            throw HostError("the tree has no node \"" + text + "\"" + (found ? " under " + found->Text() : "") +
                            " (there: " + names(level) + ")");
        found = *it;
        level = found->childNodes();
    }
    return found;
}

std::shared_ptr<ui::ListItem> ServerView::item(const std::string& keyOrText) const {
    if (isNodeKey(keyOrText)) {
        auto found = list->ListItems().find(keyOrText);
        if (!found) throw HostError("the list has no item with the key " + keyOrText);
        return found;
    }
    for (const auto& i : list->ListItems().items())
        if (i->Text() == keyOrText) return i;
    throw HostError("the list has no item \"" + keyOrText + "\"");
}

std::shared_ptr<ui::Menu> ServerView::menu(const std::string& name) const {
    auto found = control->menu(name);
    if (!found) throw HostError("the server view has no menu " + name);
    return found;
}

} // namespace host
