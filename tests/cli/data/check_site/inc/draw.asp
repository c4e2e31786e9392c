<% Dim s : Set s = New Shape %>
