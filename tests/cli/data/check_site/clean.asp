<% Dim ok : ok = 1 %>
