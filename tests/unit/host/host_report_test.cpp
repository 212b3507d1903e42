// caspo-host's printing of a report, with one part missing.
#include "tools/host/host_report.h"

#include <gtest/gtest.h>
#include <json/json.h>

#include <sstream>

#include "interfaces/hvx_types.h"

namespace hvx {
namespace {

host_tool::HostReport SampleReport() {
    host_tool::HostReport report;
    report.fqdnResult = HVX_E_GENERAL;
    report.fqdn = u"UNKNOWN";
    report.netbiosFound = TRUE;
    report.netbios = u"NODE7";
    report.adapters = {
        {3, {u"eth0", u"eth0", u"192.0.2.10", u"", u"02:00:5e:10:00:01", 3, 1}},
        {12, {u"enp0s31f6", u"Wired", u"198.51.100.7", u"", u"02:00:5e:10:00:0c", 12, 1}}};
    return report;
}

TEST(HostReport, TableAlignsTheAdaptersAndNamesWhatIsMissing) {
    std::ostringstream out;
    host_tool::PrintTable(SampleReport(), out);
    EXPECT_EQ(out.str(),
              "Fully qualified name: (not found, 0xC1040003)\n"
              "NetBIOS name:         NODE7\n"
              "\n"
              "Index  Name       Friendly name  MAC                IPv4          Active\n"
              "3      eth0       eth0           02:00:5e:10:00:01  192.0.2.10    1\n"
              "12     enp0s31f6  Wired          02:00:5e:10:00:0c  198.51.100.7  1\n");
    EXPECT_FALSE(SampleReport().Complete());
}

TEST(HostReport, JsonCarriesEveryFieldAndTheResults) {
    std::stringstream out;
    host_tool::PrintJson(SampleReport(), out);
    Json::Value root;
    ASSERT_TRUE(Json::parseFromStream(Json::CharReaderBuilder(), out, &root, nullptr));
    EXPECT_TRUE(root["fqdn"].isNull());
    EXPECT_EQ(root["fqdn_result"].asString(), "0xC1040003");
    EXPECT_EQ(root["netbios"].asString(), "NODE7");
    EXPECT_EQ(root["adapters_result"].asString(), "0x00000000");
    ASSERT_EQ(root["adapters"].size(), 2u);
    const Json::Value& second = root["adapters"][1];
    EXPECT_EQ(second["index"].asUInt(), 12u);
    EXPECT_EQ(second["friendly_name"].asString(), "Wired");
    EXPECT_EQ(second["mac"].asString(), "02:00:5e:10:00:0c");
    EXPECT_EQ(second["ipv4"].asString(), "198.51.100.7");
    EXPECT_EQ(second["active"].asInt(), 1);
}

}  // namespace
}  // namespace hvx
