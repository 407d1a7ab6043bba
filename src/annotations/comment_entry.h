// The program's note: the standard "Comments" value of its Uninstall entry, always written
// as a plain string (an expandable one becomes plain; an empty text stays as a value).
#pragma once
#include <string>

#include "annotations/entry_edit.h"

namespace orv {

struct CommentStart {
  bool opened = false;  // false: the entry could not be opened
  std::string comment;
};

CommentStart ReadCommentStart(Registry& registry, const EntryIdentity& entry);
EntryEditResult WriteComment(Registry& registry, const EntryIdentity& entry,
                             const std::string& comment);

}  // namespace orv
