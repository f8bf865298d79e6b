// A module whose only content is its image resources (compiled from Images/), for the resource tests.
