#include "editing/AttachmentLabel.h"

#include "shipfile/Catalogue.h"
#include "tests/support/ShipMaker.h"

#include <gtest/gtest.h>

using editing::attachmentLabel;
using testsupport::Attachment;
using testsupport::attachmentRecord;

TEST(AttachmentLabel, TextsByKind)
{
    EXPECT_EQ(attachmentLabel(attachmentRecord(Attachment{0})), "Missile Mount Point");
    EXPECT_EQ(attachmentLabel(attachmentRecord(Attachment{2})), "Engine Flame");
    EXPECT_EQ(attachmentLabel(attachmentRecord(Attachment{4})), "Blinking Light");
    EXPECT_EQ(attachmentLabel(attachmentRecord(Attachment{7})), "Unknown: Type 7");
    EXPECT_EQ(attachmentLabel(attachmentRecord(Attachment{-1})), "Unknown: Type -1");

    Attachment gunObject{1};
    gunObject.styleIndex = 2;
    EXPECT_EQ(attachmentLabel(attachmentRecord(gunObject)),
              "Obj: " + std::string(shipfile::gunModelName(18)));
    Attachment gun{3};
    gun.gunIndex = 0;
    EXPECT_EQ(attachmentLabel(attachmentRecord(gun)), "Gun: ");

    gunObject.styleIndex = 500;
    EXPECT_EQ(attachmentLabel(attachmentRecord(gunObject)), "Obj: ");
    gun.gunIndex = 40;
    EXPECT_EQ(attachmentLabel(attachmentRecord(gun)), "Gun: ");
    EXPECT_EQ(attachmentLabel({}), "Missile Mount Point") << "an empty record reads as kind 0";
    EXPECT_EQ(editing::numberedAttachmentLabel(attachmentRecord(gun), 12), "Gun:  (12)");
}
