// LiveActions: the object actions of a live connection, done on its database - connecting and
// reading the catalogue, refreshing a folder, building a routine from its source, dropping an
// object, running a routine, sample rows of a table or view, a routine's source from the database.
// Each answers with the notifications the add-in handles; a database that refuses answers with its
// own message, and nothing of the project or its files changes then.
#pragma once

#include "Catalogue.h"

namespace standin {

class Engine;

namespace LiveActions {

// Opens the connection and reads its catalogue; a failure leaves it disconnected, with a message.
void connect(Engine& engine, const Located& at);
void disconnect(Engine& engine, const Located& at);
void refresh(Engine& engine, const Located& at);
void build(Engine& engine, const Located& at);
void run(Engine& engine, const Located& at, int32_t code);
void sampleContents(Engine& engine, const Located& at);
// After the user confirmed the drop.
void drop(Engine& engine, const Located& at);
// Gives a routine without a source the one its database keeps; false (after a message) when none.
bool loadSource(Engine& engine, const Located& at);

} // namespace LiveActions

} // namespace standin
