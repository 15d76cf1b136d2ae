#include "editing/Merge.h"

#include "editing/Messages.h"
#include "shipfile/Layout.h"

#include <utility>

namespace editing {

using shipfile::ShipBlock;
using shipfile::ShipFile;
namespace lay = shipfile::layout;

std::optional<std::vector<std::string>> mergeShipFile(ShipFile& into,
                                                      std::unique_ptr<ShipFile> second)
{
    if (into.empty() || !second || second->empty())
        return std::nullopt;
    auto refuse = [&into](const shipfile::MessageText& message) {
        into.sink().show(message.box());
        return std::nullopt;
    };
    // A ship cut off in the middle of a block would bring only some of its sections.
    if (second->loadResult() != shipfile::LoadResult::Complete)
        return refuse(messages::MergeIncomplete);

    ShipBlock* header = second->first();
    ShipBlock* added = header->next();
    if (header->type != lay::type::Header || !added || added->type != lay::type::Components)
        return refuse(messages::BadShpFile);
    ShipBlock* table = into.componentBlock();
    // Both tables must step in 312-byte records, or the names and records would be cut apart.
    if (!table || table->recordSize != lay::component::RecordSize ||
        added->recordSize != lay::component::RecordSize)
        return refuse(messages::MergeReducedComponentBlock);
    if (!table->appendRecords(added->records(), added->count()))
        return refuse(messages::BlockFull);

    std::vector<std::string> names;
    for (std::size_t i = 0; i < added->count(); ++i)
        names.push_back(
            shipfile::readString(std::as_const(*added).record(i), lay::component::Name));
    // The second file's sections follow whatever ends the open ship's chain; its header and
    // component table go with `second`.
    into.append(second->takeAfter(*added));
    return names;
}

} // namespace editing
