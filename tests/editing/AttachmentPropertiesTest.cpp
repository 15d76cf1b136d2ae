#include "editing/AttachmentProperties.h"

#include "editing/Attachments.h"
#include "shipfile/Catalogue.h"
#include "shipfile/Layout.h"
#include "tests/support/LoadedShip.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace editing;
using shipfile::Vec3;
using testsupport::Attachment;
using testsupport::Component;
using testsupport::Ship;
namespace lay = shipfile::layout;

namespace {

Ship shipWith(std::vector<Attachment> attachments)
{
    Ship ship;
    Component c;
    c.attachments = std::move(attachments);
    ship.components = {c};
    return ship;
}

int choiceOf(int kind, const std::string& name)
{
    const auto choices = propertyChoices(kind);
    const auto it = std::find(choices.begin(), choices.end(), name);
    EXPECT_NE(it, choices.end()) << name;
    return static_cast<int>(it - choices.begin());
}

std::int32_t field(LoadedShip& ship, std::size_t offset)
{
    return *shipfile::readI32(attachmentRecord(*ship.file, 0, 0), offset);
}

} // namespace

TEST(PropertyChoices, ListsByKind)
{
    EXPECT_TRUE(propertyChoices(0).empty());
    EXPECT_TRUE(propertyChoices(7).empty());
    EXPECT_TRUE(propertyChoices(-1).empty());
    EXPECT_EQ(propertyChoices(2).size(), 8u);
    EXPECT_EQ(propertyChoices(4).size(), 6u);
    const auto guns = propertyChoices(3);
    ASSERT_EQ(guns.size(), 16u);
    EXPECT_EQ(guns[0], "");
    EXPECT_EQ(guns[15], shipfile::gunModelName(15));
    const auto objects = propertyChoices(1);
    ASSERT_EQ(objects.size(), 17u) << "the table's last entry is never offered";
    EXPECT_EQ(objects[0], shipfile::gunModelName(16));
    EXPECT_EQ(objects[16], shipfile::gunModelName(32));
}

TEST(AttachmentProperties, LightShowsRedAndBlueStoresZeroFlameBlueFour)
{
    LoadedShip ship(shipWith({Attachment{4, {1, 2, 3}, 3}}));
    const auto props = attachmentProperties(*ship.file, 0, 0);
    ASSERT_TRUE(props);
    EXPECT_EQ(props->kind, 4);
    EXPECT_EQ(props->position, (Vec3{1, 2, 3}));
    const auto highlighted = highlightedChoice(props->kind, props->propertyIndex);
    ASSERT_TRUE(highlighted);
    EXPECT_EQ(propertyChoices(4)[static_cast<std::size_t>(*highlighted)], "Red");

    EXPECT_TRUE(setAttachmentProperty(*ship.file, 0, 0, choiceOf(4, "Blue")));
    EXPECT_EQ(field(ship, lay::attachment::StyleIndex), 0);

    LoadedShip flame(shipWith({Attachment{2}}));
    EXPECT_TRUE(setAttachmentProperty(*flame.file, 0, 0, choiceOf(2, "Blue")));
    EXPECT_EQ(field(flame, lay::attachment::StyleIndex), 4);
}

TEST(AttachmentProperties, GunObjectOutsideTheListIsUnhighlightedAndWrittenBack)
{
    LoadedShip ship(shipWith({Attachment{1, {}, 17}}));
    const auto props = attachmentProperties(*ship.file, 0, 0);
    ASSERT_TRUE(props);
    EXPECT_EQ(props->propertyIndex, 17);
    EXPECT_FALSE(highlightedChoice(1, props->propertyIndex));
    EXPECT_TRUE(highlightedChoice(1, 16));
    EXPECT_TRUE(setAttachmentProperty(*ship.file, 0, 0, props->propertyIndex));
    EXPECT_EQ(field(ship, lay::attachment::StyleIndex), 17);
}

TEST(AttachmentProperties, KindsWithoutAPropertyStoreOnlyThePosition)
{
    LoadedShip ship(shipWith({Attachment{0, {1, 1, 1}}, Attachment{7, {2, 2, 2}}}));
    const auto before = ship.file->serialise();
    EXPECT_FALSE(setAttachmentProperty(*ship.file, 0, 0, 3));
    EXPECT_FALSE(setAttachmentProperty(*ship.file, 0, 1, 3));
    EXPECT_EQ(ship.file->serialise(), before);
    EXPECT_FALSE(highlightedChoice(0, 0));
    EXPECT_EQ(attachmentProperties(*ship.file, 0, 1)->kind, 7) << "an unknown kind still opens";
}

TEST(AttachmentProperties, NegativeKindOrMissingRecordOpensNoDialog)
{
    LoadedShip ship(shipWith({Attachment{-1}}));
    EXPECT_FALSE(attachmentProperties(*ship.file, 0, 0));
    EXPECT_FALSE(attachmentProperties(*ship.file, 0, 1));
    EXPECT_FALSE(attachmentProperties(*ship.file, -1, 0));
    EXPECT_FALSE(setAttachmentPosition(*ship.file, 0, 1, {1, 1, 1}));
}
