#include "TextRenderer.h"

#include "platform/sim/SimCodeModule.h"
#include "platform/sim/SimCommandBar.h"
#include "platform/sim/SimCommandBarControl.h"
#include "platform/sim/SimCommandBarControls.h"
#include "platform/sim/SimCommandBars.h"
#include "platform/sim/SimComponent.h"
#include "platform/sim/SimDECommand.h"
#include "platform/sim/SimDEConnection.h"
#include "platform/sim/SimDataEnvironment.h"
#include "platform/sim/SimProject.h"
#include "platform/sim/SimVBE.h"
#include "platform/sim/SimWindow.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/CommandButton.h"
#include "platform/ui/Form.h"
#include "platform/ui/Frame.h"
#include "platform/ui/Image.h"
#include "platform/ui/Label.h"
#include "platform/ui/ListView.h"
#include "platform/ui/Menu.h"
#include "platform/ui/ProgressBar.h"
#include "platform/ui/Shape.h"
#include "platform/ui/TextBox.h"
#include "platform/ui/TreeView.h"
#include "platform/ui/UserControl.h"
#include "platform/vbide/Constants.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>

namespace host::text {

namespace {

std::string number(float value) {
    return value == std::floor(value) ? fmt::format("{}", static_cast<int64_t>(value)) : fmt::format("{}", value);
}

std::string count(std::size_t n, const char* thing) {
    return fmt::format("{} {}{}", n, thing, n == 1 ? "" : "s");
}

std::string quote(const std::string& s) {
    std::string out = "\"";
    for (char c : s) {
        if (c == '\n') out += "\\n";
        else if (c == '\r') out += "\\r";
        else if (c == '"') out += "\\\"";
        else out += c;
    }
    return out + "\"";
}

// Text shown on one line, indented continuation lines for multi-line texts.
Lines indentedText(const std::string& text, const std::string& indent) {
    Lines out;
    std::size_t start = 0;
    while (true) {
        std::size_t end = text.find('\n', start);
        std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        out.push_back(indent + line);
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return out;
}

std::string tagText(const vb::Variant& tag) {
    if (tag.isEmpty()) return "-";
    if (tag.isString()) return quote(tag.toString());
    return tag.toString();
}

std::string fieldSuffix(const FieldNamer& fieldOf, const sim::SimCommandBarControl& c) {
    std::string field = fieldOf ? fieldOf(c) : "";
    return field.empty() ? "" : "  [" + field + "]";
}

std::string controlDetails(const sim::SimCommandBarControl& c) {
    std::string out;
    if (c.face()) out += ", face " + c.face()->name();
    if (!c.onAction().empty()) out += ", action " + c.onAction();
    if (!c.tooltipText().empty()) out += ", tooltip " + quote(c.tooltipText());
    if (c.beginGroup()) out += ", begins a group";
    if (!c.enabled()) out += ", disabled";
    if (!c.visible()) out += ", hidden";
    if (c.temporary()) out += ", temporary";
    return out;
}

void addinControls(const sim::SimCommandBarControls& controls, const FieldNamer& fieldOf, const std::string& indent,
                   Lines& out) {
    for (const auto& c : controls.controls()) {
        if (c->deleted() || c->builtIn()) continue;
        std::string kind = c->type() == vbide::msoControlPopup ? "popup" : "button";
        out.push_back(indent + plainCaption(c->caption()) + fieldSuffix(fieldOf, *c) + " - " + kind + controlDetails(*c));
        if (c->controls()) addinControls(*c->controls(), fieldOf, indent + "  ", out);
    }
}

std::string pointerName(int16_t pointer) {
    switch (pointer) {
    case 0: return "default";
    case 9: return "west-east sizing arrow";
    default: return std::to_string(pointer);
    }
}

std::string viewName(int16_t view) {
    switch (view) {
    case ui::lvw::Icon: return "icon view";
    case ui::lvw::SmallIcon: return "small icon view";
    case ui::lvw::List: return "list view";
    case ui::lvw::Report: return "report view";
    default: return "view " + std::to_string(view);
    }
}

void formControls(const ui::Container& container, const std::string& indent, std::vector<std::vector<std::string>>& rows) {
    for (const auto& control : container.controls()) {
        if (!control->Visible()) continue;
        const std::string state = control->Enabled() ? "" : " (disabled)";
        std::string shown;
        if (auto* label = dynamic_cast<const ui::Label*>(control.get())) {
            shown = label->Caption();
        } else if (auto* box = dynamic_cast<const ui::TextBox*>(control.get())) {
            shown = "[" + box->displayText() + "]";
        } else if (auto* combo = dynamic_cast<const ui::ComboBox*>(control.get())) {
            shown = "[" + combo->Text() + "]";
            std::string items;
            for (int32_t i = 0; i < combo->ListCount(); ++i) items += (i ? ", " : "") + quote(combo->List(i));
            shown += combo->ListCount() ? "  list: " + items : "  list empty";
        } else if (auto* button = dynamic_cast<const ui::CommandButton*>(control.get())) {
            shown = "<" + plainCaption(button->Caption()) + ">";
            if (button->Default()) shown += " default";
            if (button->Cancel()) shown += " cancel";
        } else if (auto* bar = dynamic_cast<const ui::ProgressBar*>(control.get())) {
            shown = "progress " + number(bar->Value()) + " of " + number(bar->Max());
        } else if (auto* image = dynamic_cast<const ui::Image*>(control.get())) {
            shown = image->Picture() ? fmt::format("picture {} ({} x {} pixels)", image->Picture()->name(),
                                                   image->Picture()->widthPx(), image->Picture()->heightPx())
                                     : "no picture";
        } else if (auto* frame = dynamic_cast<const ui::Frame*>(control.get())) {
            rows.push_back({indent + control->Name(), "frame " + quote(frame->Caption()) + state});
            formControls(*frame, indent + "  ", rows);
            continue;
        } else {
            continue;  // timers, dialogs and drawn shapes show nothing of their own
        }
        Lines text = indentedText(shown, "");
        // A control in another font than its form's says which.
        if (hasFont(*control) && !(control->Font() == container.self().Font())) text.back() += "  font " + fontText(control->Font());
        rows.push_back({indent + control->Name(), text.front() + state});
        for (std::size_t i = 1; i < text.size(); ++i) rows.push_back({"", text[i]});
    }
}

void treeNodes(const std::vector<ui::NodePtr>& nodes, const std::string& indent, std::vector<std::vector<std::string>>& rows) {
    for (const auto& node : nodes) {
        std::string mark = node->Children() == 0 ? "  " : node->Expanded() ? "- " : "+ ";
        rows.push_back({indent + mark + node->Text(), node->Key(), "tag " + tagText(node->Tag()),
                        node->Image().empty() ? "no image" : node->Image(),
                        node->Selected() ? "<selected>" : ""});
        treeNodes(node->childNodes(), indent + "  ", rows);
    }
}

} // namespace

std::string fontText(const ui::Font& f) {
    return f.Name + " " + number(f.Size) + (f.Bold ? " bold" : "") +
           (f.Charset != 0 ? " charset " + std::to_string(f.Charset) : "");
}

bool hasFont(const ui::Control& c) {
    return dynamic_cast<const ui::Label*>(&c) || dynamic_cast<const ui::TextBox*>(&c) ||
           dynamic_cast<const ui::ComboBox*>(&c) || dynamic_cast<const ui::CommandButton*>(&c) ||
           dynamic_cast<const ui::Frame*>(&c) || dynamic_cast<const ui::TreeView*>(&c) ||
           dynamic_cast<const ui::ListView*>(&c) || dynamic_cast<const ui::Container*>(&c);
}

std::string plainCaption(const std::string& caption) {
    std::string out;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size()) ++i;
        out += caption[i];
    }
    return out;
}

std::string styleText(int32_t style) {
    static const char* const buttons[] = {"OK", "OK/Cancel", "Abort/Retry/Ignore", "Yes/No/Cancel", "Yes/No", "Retry/Cancel"};
    std::string icon;
    switch (style & 0x70) {
    case 16: icon = "Critical"; break;
    case 32: icon = "Question"; break;
    case 48: icon = "Exclamation"; break;
    case 64: icon = "Information"; break;
    default: break;
    }
    int32_t b = style & 7;
    std::string out = (icon.empty() ? "no icon" : icon) + " + " + (b < 6 ? buttons[b] : "buttons " + std::to_string(b));
    if (int32_t rest = style & ~0x77; rest != 0) out += fmt::format(" + {}", rest);
    return out;
}

std::string resultName(int32_t result) {
    static const char* const names[] = {"", "OK", "Cancel", "Abort", "Retry", "Ignore", "Yes", "No"};
    return result >= 1 && result <= 7 ? fmt::format("{} ({})", names[result], result) : std::to_string(result);
}

Lines msgBox(const std::string& prompt, int32_t style, const std::string& title) {
    Lines out = {fmt::format("[message box, style {} = {}, title {}]", style, styleText(style),
                             title.empty() ? "(default)" : quote(title))};
    for (auto& line : indentedText(prompt, "  | ")) out.push_back(line);
    return out;
}

Lines popup(const ui::Menu& menu, int32_t x, int32_t y) {
    Lines out = {fmt::format("[popup menu {} at {}, {}]", menu.Name(), x, y)};
    std::vector<std::vector<std::string>> rows;
    auto walk = [&](auto& self, const ui::Menu& m, const std::string& indent) -> void {
        for (const auto& item : m.items()) {
            if (!item->Visible()) continue;
            if (item->isSeparator()) {
                rows.push_back({indent + "------", ""});
                continue;
            }
            std::string caption = plainCaption(item->Caption()) + (item->items().empty() ? "" : " >");
            rows.push_back({indent + caption + (item->Enabled() ? "" : " (disabled)"), item->Name()});
            if (!item->items().empty()) self(self, *item, indent + "  ");
        }
    };
    walk(walk, menu, "");
    for (auto& line : table(rows)) out.push_back(line);
    return out;
}

Lines menuState(const ui::Menu& menu) {
    Lines out = {"Menu " + menu.Name() + ":"};
    std::vector<std::vector<std::string>> rows;
    auto walk = [&](auto& self, const ui::Menu& m, const std::string& indent) -> void {
        for (const auto& item : m.items()) {
            rows.push_back({indent + item->Name(), quote(plainCaption(item->Caption())),
                            item->Tag().empty() ? "" : "tag " + item->Tag(),
                            std::string(item->Enabled() ? "enabled" : "disabled") + (item->Visible() ? "" : ", hidden")});
            self(self, *item, indent + "  ");
        }
    };
    walk(walk, menu, "");
    for (auto& line : table(rows)) out.push_back(line);
    return out;
}

Lines form(const ui::Form& f, const std::string& heading) {
    Lines out = {fmt::format("[{} {} {}{}, font {}]", heading, f.Name(), quote(f.Caption()),
                             f.Icon() ? ", with " + f.Icon()->name() : "", fontText(f.Font()))};
    std::vector<std::vector<std::string>> rows;
    formControls(f, "", rows);
    for (auto& line : table(rows)) out.push_back(line);
    return out;
}

Lines fileDialog(const ui::CommonDialog& d, ui::FileDialogMode mode) {
    return {fmt::format("[{} file dialog {}] filter {}, default extension {}, folder {}, flags 0x{:X}",
                        mode == ui::FileDialogMode::Open ? "open" : "save", quote(d.DialogTitle()), quote(d.Filter()),
                        quote(d.DefaultExt()), d.InitDir().empty() ? "(not set)" : d.InitDir(),
                        static_cast<uint32_t>(d.Flags()))};
}

Lines menuBar(const sim::SimVBE& ide, const FieldNamer& fieldOf) {
    Lines out;
    auto bar = ide.commandBars()->bar("Menu Bar");
    if (!bar) return {"The IDE has no menu bar."};
    out.push_back("Menu bar:");
    for (const auto& menu : bar->controls()->controls()) {
        if (menu->deleted()) continue;
        std::string builtIns;
        if (menu->controls())
            for (const auto& item : menu->controls()->controls())
                if (item->builtIn() && !item->deleted()) builtIns += (builtIns.empty() ? "" : ", ") + plainCaption(item->caption());
        if (!menu->builtIn()) {
            out.push_back("  " + plainCaption(menu->caption()) + fieldSuffix(fieldOf, *menu) + controlDetails(*menu));
        } else {
            out.push_back("  " + plainCaption(menu->caption()) + ": " + builtIns);
        }
        if (menu->controls()) addinControls(*menu->controls(), fieldOf, "    ", out);
    }
    return out;
}

Lines toolbars(const sim::SimVBE& ide, const FieldNamer& fieldOf) {
    Lines out = {"Toolbars:"};
    for (const auto& bar : ide.commandBars()->bars()) {
        if (bar->deleted() || bar->name() == "Menu Bar") continue;
        out.push_back(fmt::format("  {}{}: {}{}{}", bar->name(), bar->builtIn() ? " (the IDE's)" : "",
                                  bar->visible() ? "visible" : "hidden", bar->temporary() ? ", temporary" : "",
                                  bar->controls()->controls().empty() ? ", no buttons" : ""));
        for (const auto& c : bar->controls()->controls()) {
            if (c->deleted()) continue;
            std::string name = c->caption().empty() ? "button" : plainCaption(c->caption());
            out.push_back("    " + name + fieldSuffix(fieldOf, *c) + controlDetails(*c));
        }
    }
    return out;
}

Lines windows(const sim::SimVBE& ide) {
    static const char* const states[] = {"normal", "minimized", "maximized"};
    const auto& main = ide.mainWindow();
    int32_t state = main->windowState();
    Lines out = {fmt::format("Main window {}: {}, {} x {}{}", quote(main->caption()),
                             state >= 0 && state <= 2 ? states[state] : std::to_string(state), main->width(),
                             main->height(), main->hasFocus() ? ", has the focus" : "")};
    for (const auto& w : ide.toolWindows())
        out.push_back(fmt::format("Tool window {}: {}, {} x {}{}", quote(w->caption()), w->visible() ? "visible" : "hidden",
                                  w->width(), w->height(), w->hasFocus() ? ", has the focus" : ""));
    if (ide.toolWindows().empty()) out.push_back("No tool windows.");
    return out;
}

std::vector<std::pair<std::string, std::string>> ideSummary(const sim::SimVBE& ide) {
    std::vector<std::pair<std::string, std::string>> out;
    for (const auto& bar : ide.commandBars()->bars()) {
        if (bar->deleted()) continue;
        if (!bar->builtIn()) {
            out.emplace_back("toolbar " + quote(bar->name()),
                             count(bar->controls()->controls().size(), "button") + (bar->visible() ? ", visible" : ", hidden"));
            continue;
        }
        for (const auto& menu : bar->controls()->controls()) {
            if (menu->deleted() || !menu->controls()) continue;
            for (const auto& c : menu->controls()->controls()) {
                if (c->deleted() || c->builtIn()) continue;
                std::string items = c->controls() ? count(c->controls()->controls().size(), "item") + ", " : "";
                out.emplace_back(plainCaption(menu->caption()) + " menu entry " + quote(plainCaption(c->caption())),
                                 items + (c->enabled() ? "enabled" : "disabled"));
            }
        }
    }
    static const char* const states[] = {"normal", "minimized", "maximized"};
    int32_t state = ide.mainWindow()->windowState();
    out.emplace_back("main window", state >= 0 && state <= 2 ? states[state] : std::to_string(state));
    for (const auto& w : ide.toolWindows())
        out.emplace_back("tool window " + quote(w->caption()),
                         fmt::format("{}, {} x {}{}", w->visible() ? "visible" : "hidden", w->width(), w->height(),
                                     w->hasFocus() ? ", has the focus" : ""));
    return out;
}

Lines tree(const ui::TreeView& t) {
    Lines out = {fmt::format("Tree {}: {}", t.Name(), count(static_cast<std::size_t>(t.Nodes().Count()), "node"))};
    std::vector<std::vector<std::string>> rows;
    treeNodes(t.Nodes().roots(), "", rows);
    for (auto& line : table(rows)) out.push_back(line);
    return out;
}

Lines list(const ui::ListView& l) {
    const auto& columns = l.ColumnHeaders();
    Lines out = {fmt::format("List {}: {}, {}, {}", l.Name(), viewName(l.View()),
                             count(static_cast<std::size_t>(columns.Count()), "column"),
                             count(static_cast<std::size_t>(l.ListItems().Count()), "item"))};
    std::vector<std::string> header = {"Key"};
    std::string widths;
    for (const auto& c : columns.items()) {
        header.push_back(c->Text());
        widths += (widths.empty() ? "" : ", ") + c->Text() + " " + number(c->Width());
    }
    if (!widths.empty()) out.push_back("  column widths: " + widths);
    if (l.ListItems().Count() == 0) return out;
    if (columns.Count() == 0) header.push_back("Text");
    for (const char* extra : {"Icon", "Bold", "Tag"}) header.push_back(extra);
    std::vector<std::vector<std::string>> rows = {header};
    for (const auto& item : l.ListItems().items()) {
        std::vector<std::string> row = {item->Key() + (item->Selected() ? "*" : ""), item->Text()};
        for (int32_t i = 1; i < std::max(columns.Count(), 1); ++i) row.push_back(item->SubItems(i));
        row.push_back(item->SmallIcon().empty() ? item->Icon() : item->SmallIcon());
        row.push_back(item->Bold() ? "bold" : "");
        row.push_back(tagText(item->Tag()));
        rows.push_back(std::move(row));
    }
    for (auto& line : table(rows)) out.push_back(line);
    return out;
}

Lines layout(const ui::UserControl& view) {
    Lines out = {fmt::format("Server view {}: {} x {} twips, mouse pointer {}, font {}", view.Name(), view.Width(),
                             view.Height(), pointerName(view.MousePointer()), fontText(view.Font()))};
    for (const auto& c : view.controls()) {
        if (dynamic_cast<const ui::TreeView*>(c.get()) || dynamic_cast<const ui::ListView*>(c.get()) ||
            dynamic_cast<const ui::Shape*>(c.get()))
            out.push_back(fmt::format("  {}: left {}, top {}, width {}, height {}{}", c->Name(), c->Left(), c->Top(),
                                      c->Width(), c->Height(), hasFont(*c) ? ", font " + fontText(c->Font()) : ""));
    }
    return out;
}

Lines projects(const sim::SimVBE& ide, const std::vector<std::pair<std::string, std::string>>& properties) {
    Lines out;
    if (ide.projects().empty()) return {"No project is open."};
    for (const auto& p : ide.projects()) {
        out.push_back(fmt::format("Project {} ({}){}", p->name(), p->fileName().empty() ? "never saved" : p->fileName(),
                                  ide.activeProject() == p ? ", active" : ""));
        for (const auto& [section, key] : properties)
            if (auto value = p->property(section, key)) out.push_back("  property " + section + "/" + key + " = " + *value);
        std::vector<std::vector<std::string>> rows;
        for (const auto& c : p->components()) {
            std::string what;
            if (auto de = std::dynamic_pointer_cast<sim::SimDataEnvironment>(c->designer())) {
                what = "Data Environment, " + count(de->connections().size(), "connection") + ", " +
                       count(de->commands().size(), "command");
            } else {
                what = c->type() == vbide::vbext_ct_ActiveXDesigner ? "designer " + c->designerId() : "";
                static const char* const kinds[] = {"", "module", "class", "MS form", "resource file", "form", "MDI form",
                                                    "property page", "user control", "user document", "related document"};
                if (what.empty()) what = c->type() >= 1 && c->type() <= 10 ? kinds[c->type()] : std::to_string(c->type());
            }
            if (c->code()) what += ", " + count(c->code()->lines().size(), "line");
            rows.push_back({c->name(), what, ide.selectedComponent() == c ? "<selected>" : ""});
        }
        for (auto& line : table(rows, "    ")) out.push_back(line);
    }
    return out;
}

Lines codeModule(const std::string& title, const std::vector<std::string>& lines,
                 const std::optional<std::vector<std::string>>& before) {
    std::size_t first = lines.size(), endNew = lines.size(), removed = 0;
    if (before) {
        const auto& old = *before;
        std::size_t prefix = 0;
        while (prefix < lines.size() && prefix < old.size() && lines[prefix] == old[prefix]) ++prefix;
        std::size_t suffix = 0;
        while (suffix < lines.size() - prefix && suffix < old.size() - prefix &&
               lines[lines.size() - 1 - suffix] == old[old.size() - 1 - suffix])
            ++suffix;
        first = prefix;
        endNew = lines.size() - suffix;
        removed = old.size() - prefix - suffix;
    }
    Lines out = {fmt::format("Code of {} ({}{}):", title, count(lines.size(), "line"),
                             removed ? fmt::format(", {} replaced or removed", removed) : "")};
    for (std::size_t i = 0; i < lines.size(); ++i)
        out.push_back(fmt::format("{} {:4}  {}", i >= first && i < endNew ? '+' : ' ', i + 1, lines[i]));
    return out;
}

Lines dataEnvironment(const std::string& title, const sim::SimDataEnvironment& de) {
    Lines out = {fmt::format("Data Environment {}:", title)};
    for (const auto& c : de.connections()) out.push_back("  connection " + c->name() + ": " + quote(c->source()));
    for (const auto& c : de.commands())
        out.push_back(fmt::format("  command {}: type {}, text {}, connection {}", c->name(), c->commandType(),
                                  quote(c->commandText()), c->connectionName().empty() ? "(none)" : c->connectionName()));
    if (de.connections().empty() && de.commands().empty()) out.push_back("  no connections, no commands");
    return out;
}

Lines table(const std::vector<std::vector<std::string>>& rows, const std::string& indent) {
    std::vector<std::size_t> widths;
    for (const auto& row : rows)
        for (std::size_t i = 0; i < row.size(); ++i) {
            if (widths.size() <= i) widths.push_back(0);
            widths[i] = std::max(widths[i], row[i].size());
        }
    Lines out;
    for (const auto& row : rows) {
        std::string line = indent;
        for (std::size_t i = 0; i < row.size(); ++i) {
            line += row[i];
            if (i + 1 < row.size()) line += std::string(widths[i] - row[i].size() + 2, ' ');
        }
        while (!line.empty() && line.back() == ' ') line.pop_back();
        out.push_back(line);
    }
    return out;
}

} // namespace host::text
