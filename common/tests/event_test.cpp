// Events: unassigned ones do nothing, handlers get the sender first and answer by reference.
#include <gtest/gtest.h>

#include "common/event.h"

namespace common {
namespace {

struct Sender {};

struct Form {
  int calls = 0;
  void Changing(Sender&, int value, bool& allowed) {
    ++calls;
    allowed = value < 10;
  }
};

TEST(Event, AnswersThroughReferencesAndBindsMembers) {
  Sender sender;
  Event<Sender&, int, bool&> changing;
  bool allowed = true;
  EXPECT_FALSE(changing.Assigned());
  changing(sender, 99, allowed);  // nothing happens
  EXPECT_TRUE(allowed);

  Form form;
  changing = Event<Sender&, int, bool&>(&form, &Form::Changing);
  EXPECT_TRUE(changing.Assigned());
  changing(sender, 99, allowed);
  EXPECT_FALSE(allowed);
  EXPECT_EQ(form.calls, 1);

  changing.Clear();
  changing(sender, 1, allowed);
  EXPECT_EQ(form.calls, 1);
}

}  // namespace
}  // namespace common
