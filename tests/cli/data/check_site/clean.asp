<!--#include file="inc/shape.asp"-->
<!--#include file="inc/draw.asp"-->
<% Dim ok : ok = 1 %>
