// ActionDispatcher: what the engine does for each action code of WKObjectDoAction (3 save, 7/8
// connect and disconnect, 9 add, 10 refresh, 11 filter, 12 import, 13 properties, 14 edit source,
// 15 run settings, 16/17 run, 18/19 build, 20 sample contents, 21 remove, 22 drop, 23 paste,
// 24 copy, 25 view source, 26-29 ADO code and objects). Each code applies to some kinds of handle;
// any other pairing, an unknown code or a handle that names nothing is answered with a message.
#pragma once

#include "Catalogue.h"
#include "NotificationQueue.h"

#include <cstdint>

namespace standin {

class Engine;

namespace ActionDispatcher {

void run(Engine& engine, int32_t hdl, int32_t actionCode);
// The user answered Yes to the question that carried pending.
void confirmed(Engine& engine, const PendingAction& pending);
// The message for an action (named by its menu caption's text id) that does not apply to at.
void notAvailable(Engine& engine, int32_t captionId, const Located& at);

} // namespace ActionDispatcher

} // namespace standin
