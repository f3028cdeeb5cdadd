// Form: a VB form. Load runs Form_Load once until the form is unloaded; Show displays it modeless
// or, through ui::User, modally; Unload asks Form_QueryUnload and Form_Unload and forgets the form.
// Derived forms create their controls in the constructor (add<T>) and override the hooks.
// Forms are made with ui::New (or through ui::Forms for the default instance).
#pragma once

#include "platform/ui/Container.h"
#include "platform/ui/Control.h"
#include "platform/ui/Picture.h"

#include <cstdint>
#include <memory>
#include <string>

namespace ui {

// Show's style and the reasons QueryUnload is given, as the VB runtime numbers them.
constexpr int32_t vbModeless = 0;
constexpr int32_t vbModal = 1;
constexpr int32_t vbFormControlMenu = 0;  // the person used the close box
constexpr int32_t vbFormCode = 1;         // the program called Unload

class Form : public Control, public Container, public std::enable_shared_from_this<Form> {
public:
    explicit Form(std::string name = {});
    ~Form() override;

    const std::string& Caption() const { return caption_; }
    void setCaption(std::string caption) {
        caption_ = std::move(caption);
        notify(Aspect::Text);
    }
    const PicturePtr& Icon() const { return icon_; }
    void setIcon(PicturePtr icon) { icon_ = std::move(icon); }

    // Client area in twips (the form's scale unit).
    int32_t ScaleWidth() const { return scaleWidth_; }
    int32_t ScaleHeight() const { return scaleHeight_; }
    void setClientSize(int32_t scaleWidth, int32_t scaleHeight);

    bool Loaded() const { return loaded_; }
    // True while Show(vbModal) waits for the person.
    bool ShownModally() const { return modal_; }

    // VB's Load statement: runs Form_Load unless the form is loaded already.
    void Load();
    // Loads if needed and makes the form visible. vbModal hands the form to ui::User and returns
    // only when the form is hidden or unloaded; a form already visible cannot be shown modally
    // (error 400).
    void Show(int32_t style = vbModeless);
    void Hide();
    // VB's Unload statement: Form_QueryUnload(cancel, vbFormCode), then Form_Unload(cancel); either
    // may cancel. Returns true when the form was unloaded (or was not loaded).
    bool Unload();

    // The person closes the window with its close box: as Unload, with vbFormControlMenu.
    bool closeBox();
    // The person presses Enter / Escape: clicks the Default / Cancel button when it is reachable.
    // Returns true when a button was clicked.
    bool pressEnter();
    bool pressEscape();
    // Unloads even when Form_QueryUnload or Form_Unload cancels: the program is ending.
    void unloadAtEnd();

    bool isLive() const override { return loaded_; }
    Control& self() override { return *this; }

protected:
    virtual void Form_Initialize() {}
    virtual void Form_Load() {}
    virtual void Form_QueryUnload(bool& cancel, int32_t unloadMode) { (void)cancel, (void)unloadMode; }
    virtual void Form_Unload(bool& cancel) { (void)cancel; }
    virtual void Form_Terminate() {}

private:
    void raiseInitialize() override { Form_Initialize(); }
    void raiseTerminate() override { Form_Terminate(); }
    bool unloadFor(int32_t unloadMode, bool overrule);

    std::string caption_;
    PicturePtr icon_;
    int32_t scaleWidth_ = 0;
    int32_t scaleHeight_ = 0;
    bool loaded_ = false;
    bool modal_ = false;
};

using FormPtr = std::shared_ptr<Form>;

} // namespace ui
