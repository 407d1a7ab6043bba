#include "annotations/comment_entry.h"

#include "catalogue/registry_ex.h"

namespace orv {

CommentStart ReadCommentStart(Registry& registry, const EntryIdentity& entry) {
  CommentStart start;
  TRegistryEx reg(registry);
  if (!OpenEntryReadOnly(reg, entry)) return start;
  start.opened = true;
  start.comment = ReadStringDef(reg, "Comments", "");
  return start;
}

EntryEditResult WriteComment(Registry& registry, const EntryIdentity& entry,
                             const std::string& comment) {
  EntryEditResult result;
  auto key = OpenEntryForWrite(registry, entry, result);
  if (!key) return result;
  if (!key->WriteString("Comments", comment)) {
    result.status = EntryEditResult::Failed;
    result.errorCode = key->LastError();
    result.valueName = "Comments";
  }
  return result;
}

}  // namespace orv
